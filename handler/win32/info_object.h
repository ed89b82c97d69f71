// The info page's class clHTMLInfo as a script creates it on Windows (ProgID
// "Varnolis.clHTMLInfo"): its members Init, ErrNumber, ErrDescription, Ready and GetNext, reached
// by name through IDispatch.
#pragma once

#include <windows.h>

namespace vn::win32 {

// A new object, handed out through `riid` (IUnknown or IDispatch).
HRESULT CreateInfoObject(REFIID riid, void** object);

}  // namespace vn::win32
