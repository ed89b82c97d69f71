#include "config/win32/twips.h"

#include <cmath>

namespace vn::config::win32 {

namespace {

int PerPixel(int dpi) {
  const int tpp = static_cast<int>(std::lround(1440.0 / (dpi > 0 ? dpi : 96)));
  return tpp > 0 ? tpp : 1;
}

}  // namespace

Twips::Twips(int dpiX, int dpiY) : perPixelX_(PerPixel(dpiX)), perPixelY_(PerPixel(dpiY)) {}

Twips Twips::ForWindow(HWND window) {
  // Windows 10 1607 and later; older systems (and Wine before 5) lack it.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  FARPROC proc = user32 != nullptr ? ::GetProcAddress(user32, "GetDpiForWindow") : nullptr;
  if (proc != nullptr && window != nullptr) {
    auto getDpi = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(proc));
    const int dpi = static_cast<int>(getDpi(window));
    if (dpi > 0) return Twips(dpi, dpi);
  }
  HDC dc = ::GetDC(window);
  const int dpiX = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 96;
  const int dpiY = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc != nullptr) ::ReleaseDC(window, dc);
  return Twips(dpiX, dpiY);
}

int Twips::ToPixelsX(int twips) const {
  return static_cast<int>(std::lround(static_cast<double>(twips) / perPixelX_));
}

int Twips::ToPixelsY(int twips) const {
  return static_cast<int>(std::lround(static_cast<double>(twips) / perPixelY_));
}

RECT Twips::ToPixels(const TwipsRect& rect) const {
  const int left = ToPixelsX(rect.left);
  const int top = ToPixelsY(rect.top);
  return {left, top, left + ToPixelsX(rect.width),
          top + ToPixelsY(rect.height < 0 ? 0 : rect.height)};
}

TwipsRect Twips::ToTwips(const RECT& pixels) const {
  return {ToTwipsX(pixels.left), ToTwipsY(pixels.top), ToTwipsX(pixels.right - pixels.left),
          ToTwipsY(pixels.bottom - pixels.top)};
}

}  // namespace vn::config::win32
