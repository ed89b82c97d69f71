#include "handler/posix/self_registration.h"

#include <vector>

#include "handler/server_classes.h"
#include "platform/class_registry.h"

namespace vn {
namespace {

std::vector<RegistryKey> Keys(const std::string& libraryPath) {
  const std::string libid = GuidToString(LIBID_Varnolis);
  const std::string typeLib = "TypeLib\\" + libid + "\\" + TypeLibraryVersion();
  const std::string iface = "Interface\\" + GuidToString(IID__ProtocolHandler);
  const std::string folder = libraryPath.substr(0, libraryPath.find_last_of('/'));
  std::vector<RegistryKey> keys =
      ClassKeys({GuidToString(CLSID_ProtocolHandler), kProtocolHandlerProgId}, libraryPath, libid);
  // What RegisterTypeLib writes on Windows.
  keys.insert(keys.end(),
              {
                  {typeLib, {{"@", kTypeLibraryHelp}}},
                  {typeLib + "\\0\\linux", {{"@", libraryPath}}},
                  {typeLib + "\\FLAGS", {{"@", "0"}}},
                  {typeLib + "\\HELPDIR", {{"@", folder}}},
                  {iface, {{"@", "_ProtocolHandler"}}},
                  {iface + "\\TypeLib", {{"@", libid}, {"Version", TypeLibraryVersion()}}},
              });
  return keys;
}

std::vector<std::string> KeyPaths() {
  std::vector<std::string> paths;
  for (const RegistryKey& key : Keys("")) paths.push_back(key.path);
  return paths;
}

}  // namespace

HRESULT RegisterServer(const std::string& libraryPath) {
  try {
    return WriteRegistryKeys(Keys(libraryPath)) ? S_OK : SELFREG_E_CLASS;
  } catch (...) {
    // Whatever kept the registry file from being written (memory, the file system) is the
    // registration's failure; the result says so, no exception may leave the entry point.
    return SELFREG_E_CLASS;
  }
}

HRESULT UnregisterServer() {
  try {
    return RemoveRegistryKeys(KeyPaths()) ? S_OK : SELFREG_E_CLASS;
  } catch (...) {
    // Whatever kept the registry file from being written (memory, the file system) is the
    // registration's failure; the result says so, no exception may leave the entry point.
    return SELFREG_E_CLASS;
  }
}

}  // namespace vn
