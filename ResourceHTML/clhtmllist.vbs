' Varnolis: the record card. Folding uses DisplayItem of plusminus.vbs; this adds unfolding
' of every card on the page at once.

Option Explicit

Sub ShowAllLists()
  Dim el
  For Each el In document.all.tags("DIV")
    If Left(el.id, 9) = "div_list_" Then el.style.display = ""
  Next
End Sub
