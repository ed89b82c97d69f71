#include "platform/module_path.h"

#include <mutex>

#include "platform/path_separator.h"

namespace vn {
namespace {

std::mutex g_overrideMutex;
std::string g_override;

}  // namespace

std::string FolderOfPath(const std::string& path) {
  auto separator = path.find_last_of(VN_PATH_SEP "/");
  if (separator == std::string::npos) return ".";
  if (separator == 0) return path.substr(0, 1);
  return path.substr(0, separator);
}

std::string LibraryFolder() {
  {
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    if (!g_override.empty()) return g_override;
  }
  return FolderOfPath(LibraryFilePath());
}

std::string ExecutableFolder() { return FolderOfPath(ExecutableFilePath()); }

void OverrideLibraryFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(g_overrideMutex);
  g_override = folder;
}

}  // namespace vn
