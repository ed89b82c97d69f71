' Varnolis: the information block. Opens the maker's web address in a window of its own.

Option Explicit

Sub OpenWeb(address)
  window.open address, "_blank"
End Sub
