#include "platform/ini_file.h"

#include "platform/win32/wide.h"

// <windows.h> maps the name to GetPrivateProfileStringW; here it is this layer's own function.
#undef GetPrivateProfileString

namespace vn {

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& path) {
  wchar_t value[kMaxProfileValueCharacters + 1];
  DWORD length = ::GetPrivateProfileStringW(
      win32::Widen(section).c_str(), win32::Widen(key).c_str(), win32::Widen(defaultValue).c_str(),
      value, static_cast<DWORD>(kMaxProfileValueCharacters + 1), win32::Widen(path).c_str());
  return win32::Narrow(std::wstring_view(value, length));
}

std::string FindFileIgnoringCase(const std::string& folder, const std::string& name) {
  return folder + "\\" + name;  // Windows' file names ignore case already
}

}  // namespace vn
