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

// Both are looked up once per process: every page asks for the library's folder several times,
// and realpath reads each folder of the path as a link. The loader keeps the file as it found it,
// as Windows' GetModuleFileName does.
std::string LibraryFilePath() {
  static const std::string path = [] {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LibraryFilePath), &info) != 0 &&
        info.dli_fname != nullptr && info.dli_fname[0] != '\0') {
      return RealPath(info.dli_fname);
    }
    return ExecutableFilePath();
  }();
  return path;
}

std::string ExecutableFilePath() {
  static const std::string path = RealPath("/proc/self/exe");
  return path;
}

}  // namespace vn
