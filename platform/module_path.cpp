#include "platform/module_path.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <mutex>

namespace vn {
namespace {

std::mutex g_overrideMutex;
std::string g_override;

std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string RealPath(const char* path) {
  char buffer[PATH_MAX];
  if (realpath(path, buffer) != nullptr) return buffer;
  return path;
}

}  // namespace

std::string LibraryFilePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&LibraryFilePath), &info) != 0 && info.dli_fname != nullptr &&
      info.dli_fname[0] != '\0') {
    return RealPath(info.dli_fname);
  }
  return RealPath("/proc/self/exe");
}

std::string LibraryFolder() {
  {
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    if (!g_override.empty()) return g_override;
  }
  return FolderOf(LibraryFilePath());
}

std::string ExecutableFolder() { return FolderOf(RealPath("/proc/self/exe")); }

void OverrideLibraryFolder(const std::string& folder) {
  std::lock_guard<std::mutex> lock(g_overrideMutex);
  g_override = folder;
}

}  // namespace vn
