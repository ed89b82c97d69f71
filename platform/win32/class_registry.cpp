#include "platform/class_registry.h"

#include "platform/win32/wide.h"

namespace vn {

std::string ClassRegistryPath() { return "HKEY_CLASSES_ROOT"; }

bool WriteRegistryKeys(const std::vector<RegistryKey>& keys) {
  for (const RegistryKey& k : keys) {
    win32::UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CLASSES_ROOT, win32::Widen(k.path).c_str(), 0, nullptr,
                          REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Out(),
                          nullptr) != ERROR_SUCCESS) {
      return false;
    }
    for (const auto& [name, value] : k.values) {
      const std::wstring text = win32::Widen(value);
      const std::wstring valueName = win32::Widen(name);
      if (::RegSetValueExW(key.Get(), name == "@" ? nullptr : valueName.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) !=
          ERROR_SUCCESS) {
        return false;
      }
    }
  }
  return true;
}

bool RemoveRegistryKeys(const std::vector<std::string>& paths) {
  bool removed = true;
  for (const std::string& path : paths) {
    LSTATUS status = ::RegDeleteTreeW(HKEY_CLASSES_ROOT, win32::Widen(path).c_str());
    if (status == ERROR_SUCCESS)
      status = ::RegDeleteKeyW(HKEY_CLASSES_ROOT, win32::Widen(path).c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) removed = false;
  }
  return removed;
}

}  // namespace vn
