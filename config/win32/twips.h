// The window's unit: twips (1/1440 inch). Positions and sizes of the controls are designed in
// twips; this converts them with the dots per inch of the window's screen, in whole twips per
// pixel (15 at 96 dots per inch, 12 at 120), as the contact manager's era did.
#pragma once

#include <windows.h>

#include "config/core/layout.h"

namespace vn::config::win32 {

class Twips {
 public:
  explicit Twips(int dpiX = 96, int dpiY = 96);
  // The window's dots per inch: GetDpiForWindow where the system has it, else the screen DC's
  // LOGPIXELSX/Y.
  static Twips ForWindow(HWND window);

  int PerPixelX() const { return perPixelX_; }
  int PerPixelY() const { return perPixelY_; }
  int ToPixelsX(int twips) const;
  int ToPixelsY(int twips) const;
  int ToTwipsX(int pixels) const { return pixels * perPixelX_; }
  int ToTwipsY(int pixels) const { return pixels * perPixelY_; }
  RECT ToPixels(const TwipsRect& rect) const;
  TwipsRect ToTwips(const RECT& pixels) const;

 private:
  int perPixelX_;
  int perPixelY_;
};

}  // namespace vn::config::win32
