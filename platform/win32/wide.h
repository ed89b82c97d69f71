// UTF-8 (the program's text) to and from UTF-16 (the Windows API's), the system's error texts, and
// an owner for kernel handles. For the Windows implementations of the platform layers (registry
// keys have theirs in registry_key.h).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vn::win32 {

// Invalid UTF-8 becomes U+FFFD; a NUL inside ends nothing (the length is kept).
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The system's text of an error code (FormatMessageW), without the closing line break.
std::string SystemErrorText(DWORD error);

// Closes a kernel handle when it goes out of scope.
class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~UniqueHandle() {
    if (Valid()) ::CloseHandle(handle_);
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace vn::win32
