// The class registry that self-registration writes its keys to and removes them from: on Windows
// HKEY_CLASSES_ROOT; on Linux the per-user INI file $XDG_CONFIG_HOME/Varnolis/classes.ini, one
// section per key path and one line per value ("@" for a key's default value). Keys of other
// components are kept.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vn {

struct RegistryKey {
  std::string path;                                         // e.g. CLSID\{...}\InprocServer32
  std::vector<std::pair<std::string, std::string>> values;  // name, value
};

// UserConfigFolder() + "/classes.ini"; "HKEY_CLASSES_ROOT" on Windows.
std::string ClassRegistryPath();

// Writes the keys, replacing keys of the same paths (without regard to case). Creates the
// folder and the file as needed; the file is replaced as a whole, so readers never see half of
// it. False when the file cannot be written.
bool WriteRegistryKeys(const std::vector<RegistryKey>& keys);

// Removes the keys with these paths (without regard to case); removes the file when nothing is
// left in it. False when the file cannot be rewritten.
bool RemoveRegistryKeys(const std::vector<std::string>& paths);

}  // namespace vn
