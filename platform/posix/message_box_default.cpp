#include "platform/message_box_default.h"

#include <iostream>

#include "platform/debug_log.h"
#include "platform/text.h"

namespace vn {

void ShowSystemWarning(const std::string& title, const std::string& text) {
  std::cerr << title << ": " << ReplaceAll(text, "\r\n", "\n") << std::endl;
  // A log that cannot be written must not turn a warning into a failure of the operation.
  try {
    DPrint(title + ": " + ReplaceAll(text, "\r\n", " / "));
  } catch (...) {
    // Ignored: the warning is on standard error already (see above).
  }
}

}  // namespace vn
