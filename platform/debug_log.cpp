#include "platform/debug_log.h"

#include "platform/codepage.h"
#include "platform/debug_log_file.h"
#include "platform/module_path.h"
#include "platform/password_mask.h"
#include "platform/path_separator.h"

namespace vn {
namespace {

thread_local bool t_debugSwitch = false;

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

void DPrint(const std::string& text) noexcept {
  if (!t_debugSwitch) return;
  try {
    // Lines carry connection strings; their passwords stay out of the file.
    const std::string line = LocalTimeStamp() + ": " +
                             Utf8ToAnsi(MaskPasswords(text), Unmappable::kQuestionMark) + "\r\n";
    if (AppendDebugLine(LibraryFolder() + VN_PATH_SEP "debug.log", line)) return;
    const std::string own = UserDebugLogPath();
    if (own.empty()) return;
    if (!AppendDebugLine(own, line) && CreateUserDebugLogFolder()) AppendDebugLine(own, line);
  } catch (...) {
    // Only building the line can fail (no memory left): the line is dropped, as one that no
    // folder takes, and the page goes on as with the log off.
  }
}

std::string UserDebugLog() { return UserDebugLogPath(); }

}  // namespace vn
