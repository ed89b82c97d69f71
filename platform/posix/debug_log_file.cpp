#include "platform/debug_log_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/local_time.h"
#include "platform/runtime_error.h"

namespace vn {

std::string LocalTimeStamp() {
  std::tm local = LocalTime(std::time(nullptr));
  char stamp[16];
  std::strftime(stamp, sizeof stamp, "%H-%M-%S", &local);
  return stamp;
}

void AppendDebugLine(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) {
    throw RuntimeError(kPathFileAccessError, path + ": " + std::strerror(errno), "DPrint");
  }
  // One write per line, so lines of concurrent requests do not tear.
  ssize_t written = ::write(fd, bytes.data(), bytes.size());
  int writeErrno = errno;
  ::close(fd);
  if (written != static_cast<ssize_t>(bytes.size())) {
    throw RuntimeError(kPathFileAccessError, path + ": " + std::strerror(writeErrno), "DPrint");
  }
}

}  // namespace vn
