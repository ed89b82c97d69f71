// frmSplash: the window shown while the main window loads: product, subtitle, version, company
// and copyright, without a caption. Any key or click closes it; so does its owner object.
#pragma once

#include <windows.h>

#include "config/win32/dialogs/dialogs.h"
#include "config/win32/dialogs/message_font.h"

namespace vn::config::win32 {

class frmSplash : public SplashWindow {
 public:
  // The labels' control ids.
  enum : int {
    kIdProductName = 101,  // lblProductName
    kIdUntertitel,         // lbUntertitel
    kIdVersion,            // lblVersion
    kIdCompany,            // lblCompany
    kIdCopyright,          // lblCopyright
  };

  // Creates the window, centred on the screen, and shows it.
  explicit frmSplash(HINSTANCE instance);
  ~frmSplash() override;
  frmSplash(const frmSplash&) = delete;
  frmSplash& operator=(const frmSplash&) = delete;

  // Null once the window is closed.
  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateLabels(HINSTANCE instance);

  HWND window_ = nullptr;
  UniqueFont productFont_;
  UniqueFont subtitleFont_;
  UniqueFont textFont_;
};

}  // namespace vn::config::win32
