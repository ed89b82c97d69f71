// UTF-8 (the program's text) to and from UTF-16 (the Windows API's), the system's error texts, and
// an owner for kernel handles. For the Windows implementations of the platform layers (registry
// keys have theirs in registry_key.h).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/win32/unique_object.h"

namespace vn::win32 {

// Invalid UTF-8 becomes U+FFFD; a NUL inside ends nothing (the length is kept).
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The system's text of an error code (FormatMessageW), without the closing line break.
std::string SystemErrorText(DWORD error);

// A kernel handle, closed when its owner goes: a file's (INVALID_HANDLE_VALUE when none) or a
// process's (null when none).
inline void CloseKernelHandle(HANDLE handle) { ::CloseHandle(handle); }
inline bool IsNoKernelHandle(HANDLE handle) {
  return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}
using UniqueHandle = UniqueObject<HANDLE, CloseKernelHandle, IsNoKernelHandle>;

}  // namespace vn::win32
