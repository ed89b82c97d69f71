// For tests that open a modal system dialog on their own thread (the data-link dialog, the
// shell's error box): while it lives, a timer of the thread finds the first dialog window that
// shows and sends it a command (IDCANCEL, IDOK), the way a user would press its button.
#pragma once

#include <windows.h>

#include <string>

class DialogCloser {
 public:
  explicit DialogCloser(WORD command);
  ~DialogCloser();
  DialogCloser(const DialogCloser&) = delete;
  DialogCloser& operator=(const DialogCloser&) = delete;

  // The caption of the dialog that was closed; empty when none showed.
  std::wstring Caption() const;

 private:
  UINT_PTR timer_;
};
