#include "platform/debug_log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/local_time.h"

namespace vn {
namespace {

std::string StateHome() {
  // A relative XDG_STATE_HOME is to be ignored, as the base-directory rules say.
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && state[0] == '/') return state;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] != '/') return {};
  return std::string(home) + "/.local/state";
}

}  // namespace

std::string LocalTimeStamp() {
  std::tm local = LocalTime(std::time(nullptr));
  char stamp[16];
  std::strftime(stamp, sizeof stamp, "%H-%M-%S", &local);
  return stamp;
}

std::string UserDebugLogPath() {
  const std::string state = StateHome();
  return state.empty() ? std::string() : state + "/varnolis/debug.log";
}

bool CreateUserDebugLogFolder() {
  const std::string path = UserDebugLogPath();
  if (path.empty()) return false;
  const std::string folder = path.substr(0, path.rfind('/'));
  // Every missing piece of the path is made private, ~/.local and ~/.local/state included.
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string piece = folder.substr(0, slash);
    if (::mkdir(piece.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool AppendDebugLine(const std::string& path, const std::string& bytes) {
  // Only the user who runs the library may read what it logs.
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  // One write per line, so lines of concurrent requests do not tear.
  const ssize_t written = ::write(fd, bytes.data(), bytes.size());
  ::close(fd);
  return written == static_cast<ssize_t>(bytes.size());
}

}  // namespace vn
