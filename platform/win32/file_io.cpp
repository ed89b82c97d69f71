#include "platform/file_io.h"

#include <fcntl.h>
#include <io.h>

#include "platform/win32/wide.h"

namespace vn {

std::FILE* OpenFileForWriting(const std::string& path) {
  return ::_wfopen(win32::Widen(path).c_str(), L"wbN");
}

int OpenFileForReading(const std::string& path) {
  return ::_wopen(win32::Widen(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

bool RemoveFile(const std::string& path) { return ::_wunlink(win32::Widen(path).c_str()) == 0; }

}  // namespace vn
