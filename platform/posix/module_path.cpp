#include "platform/module_path.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

namespace vn {
namespace {

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
  return ExecutableFilePath();
}

std::string ExecutableFilePath() { return RealPath("/proc/self/exe"); }

}  // namespace vn
