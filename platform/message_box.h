// Warning messages of the library (the ACT! bridge's message boxes). By default a message goes
// the system's way (on Linux, where the library has no window of its own, to standard error
// and, while the debug switch is on, to the debug log; on Windows to a message box); tests put
// their own receiver in place and read what was shown.
#pragma once

#include <string>

namespace vn {

class clMessageBox {
 public:
  virtual ~clMessageBox() = default;
  // One warning with an OK button; returns when it has been acknowledged.
  virtual void ShowWarning(const std::string& title, const std::string& text) = 0;
};

// Shows a warning through the receiver in place. Line breaks in `text` are CR LF.
void ShowWarning(const std::string& title, const std::string& text);

// Puts `box` in place for the whole process (not owned; null restores the default) and returns
// the receiver it replaces.
clMessageBox* SetMessageBox(clMessageBox* box);

}  // namespace vn
