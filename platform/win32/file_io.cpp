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

bool MoveFileOver(const std::string& from, const std::string& to) {
  return ::MoveFileExW(win32::Widen(from).c_str(), win32::Widen(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool RemoveFile(const std::string& path) { return ::_wunlink(win32::Widen(path).c_str()) == 0; }

// Rooted ("\x", "/x", "\\server\share") or with a drive letter ("C:\x"); Windows takes "/" as a
// separator too.
bool IsAbsolutePath(const std::string& path) {
  if (path.empty()) return false;
  if (path[0] == '\\' || path[0] == '/') return true;
  return path.size() >= 2 && path[1] == ':';
}

bool IsRegularFile(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(win32::Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool IsDirectory(const std::string& path) {
  DWORD attributes = ::GetFileAttributesW(win32::Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace vn
