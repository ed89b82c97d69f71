// frmVorschau: the preview window of a data entry on Windows, an owned window beside the
// configuration window. It draws what the core's PreviewControl gives it: the lines above the
// grid, a marquee progress bar and "Abbrechen" while the query runs, and the result in a list
// view in report mode. The worker's wake-up arrives as a posted message.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "config/core/preview_control.h"

namespace vn::config::win32 {

class frmVorschau : private PreviewView {
 public:
  // Creates the window hidden, owned by `owner` (may be null).
  frmVorschau(HINSTANCE instance, HWND owner);
  ~frmVorschau() override;
  frmVorschau(const frmVorschau&) = delete;
  frmVorschau& operator=(const frmVorschau&) = delete;

  PreviewControl& Control() { return *control_; }
  HWND Handle() const { return window_; }
  // For the tests: the list view, the lines, the progress bar and the cancel button.
  HWND Grid() const { return grid_; }
  HWND Lines() const { return lines_; }
  HWND Busy() const { return busy_; }
  HWND CancelButton() const { return cancel_; }

  // The message that tells the window a preview has finished.
  static constexpr UINT kPreviewReady = WM_APP + 0x51;

 private:
  // PreviewView.
  void ShowPreviewRunning(const std::string& caption) override;
  void ShowPreviewResult(const PreviewResult& result) override;
  void WakePreview() override;

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Arrange();
  void ClearGrid();

  HWND owner_;
  HWND window_ = nullptr;
  HWND lines_ = nullptr;
  HWND busy_ = nullptr;
  HWND cancel_ = nullptr;
  HWND grid_ = nullptr;
  bool placed_ = false;
  // Its worker is stopped before the window goes (the destructor resets it first).
  std::unique_ptr<PreviewControl> control_;
};

}  // namespace vn::config::win32
