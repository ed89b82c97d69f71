// Owner of one open registry key, with the few writes self-registration needs.
#pragma once

#include <windows.h>

#include <string>

namespace vn::win32 {

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() {
    if (key_ != nullptr) RegCloseKey(key_);
  }

  // Creates (or opens) `path` below `root` for writing; false when that is refused.
  bool Create(HKEY root, const std::wstring& path) {
    return RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                           nullptr, &key_, nullptr) == ERROR_SUCCESS;
  }

  // A text value; an empty name is the key's default value.
  bool SetText(const std::wstring& name, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
  }

 private:
  HKEY key_ = nullptr;
};

// Removes `path` below `root` with everything beneath it; true also when it was not there.
inline bool DeleteRegistryTree(HKEY root, const std::wstring& path) {
  LSTATUS status = RegDeleteTreeW(root, path.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace vn::win32
