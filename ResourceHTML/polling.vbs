' Varnolis: loaded by every page head. The page is complete when it arrives, so nothing is
' polled; the routine keeps the pages' "Start" anchor in view after a reload.

Option Explicit

Sub window_onload()
  If Not document.all("Start") Is Nothing Then window.scrollTo 0, 0
End Sub
