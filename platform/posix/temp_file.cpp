#include "platform/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace vn {
namespace {

constexpr unsigned kNumbers = 0x10000;

// Where the search for a free number starts: varies between processes and between calls, so
// that parallel requests rarely meet on the same name.
unsigned StartNumber() {
  static std::atomic<unsigned> calls{0};
  auto ticks =
      static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() / 1000000);
  return (ticks + static_cast<unsigned>(getpid()) * 7919u + calls.fetch_add(1) * 40503u) % kNumbers;
}

}  // namespace

std::string TempPath() {
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = (tmp != nullptr && tmp[0] != '\0') ? tmp : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::optional<std::string> CreateTempFile(const std::string& folder, const std::string& prefix) {
  const std::string base = folder + "/" + prefix.substr(0, 3);
  unsigned number = StartNumber();
  for (unsigned tries = 0; tries < kNumbers; ++tries, number = (number + 1) % kNumbers) {
    if (number == 0) continue;  // 0 asks the platform to choose; it is never a name
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", number);
    std::string path = base + digits + ".tmp";
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) return std::nullopt;
  }
  return std::nullopt;
}

FileHandle TempFile::OpenForFinalRead() {
  FileHandle reader = FileHandle::OpenForReading(path_);
  // The open descriptor keeps the content; without a name nothing is left behind by a process
  // that dies while the page is being read.
  ::unlink(path_.c_str());
  owned_ = false;
  return reader;
}

void TempFile::Delete() noexcept {
  if (owned_ && !path_.empty()) ::unlink(path_.c_str());
  path_.clear();
  owned_ = true;
}

}  // namespace vn
