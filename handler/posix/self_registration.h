// Self-registration of the component server: the class, its ProgID, threading model, library
// path, default interface and type library, written to and removed from the per-user class
// registry.
#pragma once

#include <string>

#include "platform/urlmon.h"

namespace vn {

// The keys for a library file at `libraryPath`; S_OK or SELFREG_E_CLASS.
HRESULT RegisterServer(const std::string& libraryPath);

// Removes the keys again (S_OK also when they were not there); SELFREG_E_CLASS when the
// registry file cannot be rewritten.
HRESULT UnregisterServer();

}  // namespace vn
