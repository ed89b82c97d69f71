#include "platform/debug_log.h"

#include "platform/codepage.h"
#include "platform/debug_log_file.h"
#include "platform/module_path.h"
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

void DPrint(const std::string& text) {
  if (!t_debugSwitch) return;
  const std::string path = LibraryFolder() + VN_PATH_SEP "debug.log";
  AppendDebugLine(path, LocalTimeStamp() + ": " + Utf8ToAnsi(text, Unmappable::kQuestionMark) +
                            "\r\n");
}

}  // namespace vn
