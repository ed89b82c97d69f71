// How a warning is shown when no receiver is in place: the operating system's own way. Only
// message_box.cpp uses it.
#pragma once

#include <string>

namespace vn {

// Linux: standard error and, while the debug switch is on, the debug log (the library has no
// window of its own). Windows: a MessageBoxW with an OK button and the warning icon.
void ShowSystemWarning(const std::string& title, const std::string& text);

}  // namespace vn
