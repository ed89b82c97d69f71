#include "platform/settings.h"

#include <shlobj.h>

#include "platform/win32/wide.h"

namespace vn {

std::string UserConfigFolder() {
  wchar_t folder[MAX_PATH];
  if (::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) {
    return {};
  }
  return win32::Narrow(folder) + "\\Varnolis";
}

// Visual Basic's GetSetting: HKEY_CURRENT_USER\Software\VB and VBA Program
// Settings\<app>\<section>.
std::string GetSetting(const std::string& appName, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
  const std::wstring path =
      win32::Widen("Software\\VB and VBA Program Settings\\" + appName + "\\" + section);
  const std::wstring name = win32::Widen(key);
  DWORD bytes = 0;
  if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS) {
    return defaultValue;
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                     value.data(), &bytes) != ERROR_SUCCESS) {
    return defaultValue;
  }
  value.resize(wcsnlen(value.c_str(), value.size()));
  return win32::Narrow(value);
}

}  // namespace vn
