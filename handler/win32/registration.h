// Self-registration of the component server on Windows: the class with its ProgID and
// apartment threading, and the type library embedded in the DLL. The scheme key
// PROTOCOLS\Handler\varnolis is not the library's business (the installer and
// varnolis.exe register write it).
#pragma once

#include <windows.h>

namespace vn::win32 {

// Writes the keys for the DLL at the library path; S_OK, SELFREG_E_CLASS or SELFREG_E_TYPELIB
// (after removing whatever it had written).
HRESULT RegisterServer();

// Removes exactly what RegisterServer writes; S_OK also when nothing was registered.
HRESULT UnregisterServer();

}  // namespace vn::win32
