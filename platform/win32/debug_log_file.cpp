#include "platform/debug_log_file.h"

#include <cstdio>

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

std::string UserDebugLogPath() {
  wchar_t folder[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return win32::Narrow(std::wstring_view(folder, length)) + "\\Varnolis\\debug.log";
}

bool CreateUserDebugLogFolder() {
  const std::string path = UserDebugLogPath();
  if (path.empty()) return false;
  // The folder inherits the access rules of the user's own application data: private already.
  const std::wstring folder = win32::Widen(path.substr(0, path.rfind('\\')));
  if (::CreateDirectoryW(folder.c_str(), nullptr)) return true;
  const DWORD attributes = ::GetFileAttributesW(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool AppendDebugLine(const std::string& path, const std::string& bytes) {
  // Append-only access: every write goes to the end, so lines of concurrent requests do not tear.
  win32::UniqueHandle file(::CreateFileW(win32::Widen(path).c_str(), FILE_APPEND_DATA,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

}  // namespace vn
