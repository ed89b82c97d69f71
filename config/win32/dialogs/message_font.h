// The splash and about windows' sizes and fonts at the screen's dots per inch: pixels at 96
// dots per inch scaled, and the system's message font in the sizes and styles they use.
#pragma once

#include <windows.h>

#include "config/win32/handles.h"

namespace vn::config::win32 {

// Pixels at 96 dots per inch converted to the screen's (the program is system-DPI aware).
inline int ScalePixels(int pixels) {
  const ScreenDc screen(::GetDC(nullptr));
  const int dpi = screen.Valid() ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return ::MulDiv(pixels, dpi, 96);
}

// The system's message font, `points` larger and bold or not, underlined or not.
inline UniqueFont MessageFont(int extraPoints, bool bold, bool underline) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  if (font.lfHeight < 0) font.lfHeight -= ScalePixels(extraPoints * 4 / 3);
  if (bold) font.lfWeight = FW_BOLD;
  font.lfUnderline = underline ? TRUE : FALSE;
  return UniqueFont(::CreateFontIndirectW(&font));
}

}  // namespace vn::config::win32
