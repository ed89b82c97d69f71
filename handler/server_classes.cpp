#include "handler/server_classes.h"

#include "resources/version.h"

namespace vn {

std::string TypeLibraryVersion() {
  return std::to_string(version::kMajor) + "." + std::to_string(version::kMinor);
}

std::vector<RegistryKey> ClassKeys(const ServerClass& serverClass, const std::string& libraryPath,
                                   const std::string& typeLibraryId) {
  const std::string& progId = serverClass.progId;
  const std::string clsid = "CLSID\\" + serverClass.classId;
  return {
      {progId, {{"@", progId}}},
      {progId + "\\Clsid", {{"@", serverClass.classId}}},
      {clsid, {{"@", progId}}},
      {clsid + "\\InprocServer32", {{"@", libraryPath}, {"ThreadingModel", "Apartment"}}},
      {clsid + "\\ProgID", {{"@", progId}}},
      {clsid + "\\TypeLib", {{"@", typeLibraryId}}},
      {clsid + "\\VERSION", {{"@", TypeLibraryVersion()}}},
  };
}

std::vector<std::string> ClassKeyPaths(const ServerClass& serverClass) {
  std::vector<std::string> paths;
  for (const RegistryKey& key : ClassKeys(serverClass, "", "")) paths.push_back(key.path);
  return paths;
}

}  // namespace vn
