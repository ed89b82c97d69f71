' Varnolis: the rubric menu. Its tabs navigate with location.href; the tab under the pointer
' is highlighted.

Option Explicit

Sub MenuOver(cell)
  If cell.className = "mb0" Then cell.className = "mb2"
End Sub

Sub MenuOut(cell)
  If cell.className = "mb2" Then cell.className = "mb0"
End Sub
