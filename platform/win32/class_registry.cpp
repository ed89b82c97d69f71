#include "platform/class_registry.h"

#include "platform/win32/registry_key.h"
#include "platform/win32/wide.h"

namespace vn {

std::string ClassRegistryPath() { return "HKEY_CLASSES_ROOT"; }

bool WriteRegistryKeys(const std::vector<RegistryKey>& keys) {
  for (const RegistryKey& k : keys) {
    win32::UniqueKey key;
    if (!key.Create(HKEY_CLASSES_ROOT, win32::Widen(k.path))) return false;
    for (const auto& [name, value] : k.values) {
      if (!key.SetText(name == "@" ? std::wstring() : win32::Widen(name), win32::Widen(value))) {
        return false;
      }
    }
  }
  return true;
}

bool RemoveRegistryKeys(const std::vector<std::string>& paths) {
  bool removed = true;
  for (const std::string& path : paths) {
    if (!win32::DeleteRegistryTree(HKEY_CLASSES_ROOT, win32::Widen(path))) removed = false;
  }
  return removed;
}

}  // namespace vn
