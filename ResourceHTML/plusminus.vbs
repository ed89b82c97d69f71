' Varnolis: folding of the pages' hidden blocks.
' strPlus and strMinus are set by the page head to the full paths of the two images.

Option Explicit

' Shows or hides the element and switches its image between plus and minus.
Sub DisplayItem(imageName, elementId)
  Dim img, el
  Set img = document.all(imageName)
  Set el = document.all(elementId)
  If el Is Nothing Then Exit Sub
  If el.style.display = "none" Then
    el.style.display = ""
    If Not img Is Nothing Then img.src = strMinus
  Else
    el.style.display = "none"
    If Not img Is Nothing Then img.src = strPlus
  End If
End Sub

' Pointer over a fold image.
Sub Point(imageName)
  Dim img
  Set img = document.all(imageName)
  If Not img Is Nothing Then
    img.style.cursor = "hand"
    img.className = "pointed"
  End If
End Sub

' Pointer left a fold image.
Sub DontPoint(imageName)
  Dim img
  Set img = document.all(imageName)
  If Not img Is Nothing Then
    img.style.cursor = "default"
    img.className = ""
  End If
End Sub
