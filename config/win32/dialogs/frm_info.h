// frmInfo: the about window: version, copyright, a text that scrolls upwards and the web link
// lbQX, underlined while the mouse is over it. A click on the link opens the web address
// through clShellExecute and closes the window; any other click or key closes it.
#pragma once

#include <windows.h>

#include "config/win32/dialogs/message_font.h"
#include "config/win32/dialogs/shell_execute.h"

namespace vn::config::win32 {

class frmInfo {
 public:
  // The controls' ids.
  enum : int {
    kIdProduct = 201,
    kIdVersion,     // lbVersion
    kIdCopyright,   // lbCopyright
    kIdScrollText,  // picScrollText
    kIdQX,          // lbQX, the web link
  };

  // Creates and shows the window over `owner` (not yet modal); the link opens through `shell`.
  frmInfo(HWND owner, clShellExecute& shell);
  ~frmInfo();
  frmInfo(const frmInfo&) = delete;
  frmInfo& operator=(const frmInfo&) = delete;

  // Runs the window modally (the owner disabled) until it is closed.
  void RunModal();
  // Null once the window is closed.
  HWND Handle() const { return window_; }

  // One step of the scrolling text (Timer1).
  void Tick();
  int ScrollOffset() const { return offset_; }
  // The scroll picture's and the box's heights, in pixels.
  int ScrollPictureHeight() const;
  int ScrollBoxHeight() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR id, DWORD_PTR data);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls(HINSTANCE instance);
  void SetLinkUnderline(bool on);
  void PaintScrollText(const DRAWITEMSTRUCT& item) const;
  void Close();

  HWND owner_;
  clShellExecute& shell_;
  HWND window_ = nullptr;
  HWND link_ = nullptr;
  bool modal_ = false;
  bool underlined_ = false;
  int offset_ = 0;
  UniqueFont productFont_;
  UniqueFont textFont_;
  UniqueFont linkFont_;
  UniqueFont underlinedFont_;
  UniqueFont scrollBoldFont_;
};

}  // namespace vn::config::win32
