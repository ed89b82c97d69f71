#include "platform/debug_log_file.h"

#include <cstdio>

#include "platform/runtime_error.h"
#include "platform/win32/wide.h"

namespace vn {

std::string LocalTimeStamp() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%02u-%02u-%02u", static_cast<unsigned>(now.wHour),
                static_cast<unsigned>(now.wMinute), static_cast<unsigned>(now.wSecond));
  return stamp;
}

void AppendDebugLine(const std::string& path, const std::string& bytes) {
  // Append-only access: every write goes to the end, so lines of concurrent requests do not tear.
  win32::UniqueHandle file(::CreateFileW(win32::Widen(path).c_str(), FILE_APPEND_DATA,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) {
    throw RuntimeError(kPathFileAccessError, path + ": " + win32::SystemErrorText(::GetLastError()),
                       "DPrint");
  }
  DWORD written = 0;
  if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    throw RuntimeError(kPathFileAccessError, path + ": " + win32::SystemErrorText(::GetLastError()),
                       "DPrint");
  }
}

}  // namespace vn
