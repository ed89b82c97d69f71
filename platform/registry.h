// The registry values the programs read (ACT!'s NetLinks folder). On Windows the registry itself;
// on Linux the per-user INI file $XDG_CONFIG_HOME/Varnolis/registry.ini: one section per key path,
// prefixed by the root
// ("[HKEY_CURRENT_USER\Software\Symantec\ACT!]"), one entry per value, in the notation of a
// registry export ("text", dword:0000001f, hex:01,02,...).
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace vn {

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers };

// Empty (std::monostate), a string, raw bytes, or a double word.
using RegistryValue =
    std::variant<std::monostate, std::string, std::vector<unsigned char>, std::uint32_t>;

// The root's name as a section prefix ("HKEY_CURRENT_USER").
std::string RegistryRootName(RegistryRoot root);

// The file that holds the values on Linux: UserConfigFolder() + "/registry.ini".
std::string RegistryFilePath();

// One value, read only: a string up to its first NUL character, binary values ("hex:") as bytes,
// double words ("dword:") as a number. A missing file, key or value, or a malformed number or byte
// list, gives the empty result.
RegistryValue RegistryGetKeyValue(RegistryRoot root, const std::string& keyPath,
                                  const std::string& valueName);

// The value as text: a string as it is, a double word in decimal, anything else "".
std::string RegistryValueText(const RegistryValue& value);

}  // namespace vn
