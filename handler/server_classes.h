// The classes the component server registers and the keys that register one of them, the same
// on both systems: the ProgID with its class id, and the class id with the library as its
// apartment-threaded in-process server, its ProgID and its type library.
#pragma once

#include <string>
#include <vector>

#include "platform/class_registry.h"

namespace vn {

inline constexpr const char* kProtocolHandlerProgId = "Varnolis.ProtocolHandler";
// The info page's class, which a script creates by this name (project name, dot, class name).
inline constexpr const char* kInfoProgId = "Varnolis.clHTMLInfo";
// The type library's help text, also the text of its key.
inline constexpr const char* kTypeLibraryHelp = "Pluggable Protocol Handler von Varnolis";

struct ServerClass {
  std::string classId;  // "{...}", as the registry writes class ids
  std::string progId;
};

// The type library's version as its keys name it: major.minor of the library's version.
std::string TypeLibraryVersion();

// The keys of `serverClass` served by the library at `libraryPath`, whose type library is
// `typeLibraryId` ("{...}").
std::vector<RegistryKey> ClassKeys(const ServerClass& serverClass, const std::string& libraryPath,
                                   const std::string& typeLibraryId);

// The paths of those keys, for removing them again.
std::vector<std::string> ClassKeyPaths(const ServerClass& serverClass);

}  // namespace vn
