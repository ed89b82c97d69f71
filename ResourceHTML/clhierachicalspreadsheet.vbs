' Varnolis: the hierarchical table. Folding of child rows uses DisplayItem of plusminus.vbs;
' this adds closing every open level at once.

Option Explicit

Sub CollapseAll()
  Dim el, img
  For Each el In document.all.tags("DIV")
    If el.style.display <> "none" And el.id <> "divfenster" And Left(el.id, 4) = "div_" Then
      el.style.display = "none"
      Set img = document.all("img_" & Mid(el.id, 5))
      If Not img Is Nothing Then img.src = strPlus
    End If
  Next
End Sub
