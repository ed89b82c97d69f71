#include "platform/file_io.h"

#include <fcntl.h>
#include <unistd.h>

namespace vn {

std::FILE* OpenFileForWriting(const std::string& path) { return std::fopen(path.c_str(), "wbe"); }

int OpenFileForReading(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace vn
