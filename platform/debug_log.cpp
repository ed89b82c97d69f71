#include "platform/debug_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/codepage.h"
#include "platform/module_path.h"
#include "platform/password_mask.h"
#include "platform/runtime_error.h"

namespace vn {
namespace {

thread_local bool t_debugSwitch = false;

// The error Visual Basic raises when a file cannot be opened or written.
constexpr long kPathFileAccessError = 75;

}  // namespace

bool DebugSwitch() { return t_debugSwitch; }

void SetDebugSwitch(bool on) { t_debugSwitch = on; }

bool DebugSettingIsOn(std::string_view setting) {
  size_t pos = setting.find_first_not_of(" \t");
  if (pos == std::string_view::npos) return false;
  if (setting[pos] == '+' || setting[pos] == '-') ++pos;
  bool afterPoint = false;
  for (; pos < setting.size(); ++pos) {
    char c = setting[pos];
    if (c == '.' && !afterPoint) {
      afterPoint = true;
    } else if (c >= '0' && c <= '9') {
      if (c != '0') return true;
    } else {
      break;
    }
  }
  return false;
}

void DPrint(const std::string& text) {
  if (!t_debugSwitch) return;
  const std::string path = LibraryFolder() + "/debug.log";
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[16];
  std::strftime(stamp, sizeof stamp, "%H-%M-%S", &local);
  // Lines carry connection strings; their passwords stay out of the file.
  const std::string line = std::string(stamp) + ": " +
                           Utf8ToCp1252(MaskPasswords(text), Unmappable::kQuestionMark) + "\r\n";
  // Only the user who runs the library may read what it logs.
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) {
    throw RuntimeError(kPathFileAccessError, path + ": " + std::strerror(errno), "DPrint");
  }
  // One write per line, so lines of concurrent requests do not tear.
  ssize_t written = ::write(fd, line.data(), line.size());
  int writeErrno = errno;
  ::close(fd);
  if (written != static_cast<ssize_t>(line.size())) {
    throw RuntimeError(kPathFileAccessError, path + ": " + std::strerror(writeErrno), "DPrint");
  }
}

}  // namespace vn
