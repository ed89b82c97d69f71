// What the main window opens besides itself: the about window. The program passes the real one
// (dialogs/dialogs.h); tests pass one that records the call.
#pragma once

#include <windows.h>

namespace vn::config::win32 {

class WindowDialogs {
 public:
  virtual ~WindowDialogs() = default;
  // The about window (frmInfo), modal over `owner`.
  virtual void ShowInfo(HWND owner) = 0;
};

}  // namespace vn::config::win32
