// The one owner of an open registry key (closed when the owner goes), with the few writes that
// registration needs, and the removal of a key with everything beneath it.
#pragma once

#include <windows.h>

#include <string>

#include "platform/win32/unique_object.h"

namespace vn::win32 {

inline void CloseKey(HKEY key) { ::RegCloseKey(key); }

class UniqueKey : public UniqueObject<HKEY, CloseKey> {
 public:
  // Creates (or opens) `path` below `root` for setting values; false when that is refused.
  bool Create(HKEY root, const std::wstring& path) {
    return ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                             nullptr, Out(), nullptr) == ERROR_SUCCESS;
  }

  // A text value; an empty name is the key's default value.
  bool SetText(const std::wstring& name, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(Get(), name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
  }

  // For the API's functions that open a key through an out parameter.
  HKEY* Out() { return Put(); }
};

// Removes `path` below `root` with everything beneath it; true also when it was not there.
inline bool DeleteRegistryTree(HKEY root, const std::wstring& path) {
  LSTATUS status = ::RegDeleteTreeW(root, path.c_str());
  // Where RegDeleteTreeW only empties the key, RegDeleteKeyW takes the key itself.
  if (status == ERROR_SUCCESS) status = ::RegDeleteKeyW(root, path.c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace vn::win32
