#include "platform/registry.h"

#include <cstring>
#include <vector>

#include "platform/win32/registry_key.h"
#include "platform/win32/wide.h"

namespace vn {
namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::kCurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::kLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kUsers:
      return HKEY_USERS;
  }
  return HKEY_CURRENT_USER;
}

}  // namespace

RegistryValue RegistryGetKeyValue(RegistryRoot root, const std::string& keyPath,
                                  const std::string& valueName) {
  win32::UniqueKey key;
  if (::RegOpenKeyExW(RootKey(root), win32::Widen(keyPath).c_str(), 0, KEY_QUERY_VALUE,
                      key.Out()) != ERROR_SUCCESS) {
    return {};
  }
  const std::wstring name = win32::Widen(valueName);
  DWORD type = 0;
  DWORD bytes = 0;
  if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::vector<unsigned char> data(bytes + sizeof(wchar_t), 0);
  if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, data.data(), &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  data.resize(bytes);
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      std::wstring text(data.size() / sizeof(wchar_t), L'\0');
      if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
      text.resize(wcsnlen(text.c_str(), text.size()));  // up to the first NUL
      return win32::Narrow(text);
    }
    case REG_DWORD: {
      if (data.size() != sizeof(DWORD)) return {};
      DWORD number = 0;
      std::memcpy(&number, data.data(), sizeof number);
      return static_cast<std::uint32_t>(number);
    }
    case REG_BINARY:
      return data;
    default:
      return {};
  }
}

}  // namespace vn
