// Owners of the drawing resources of the splash and about windows: a GDI object (font, brush)
// deleted when its owner goes, and the screen's device context while it is read.
#pragma once

#include <windows.h>

#include <utility>

namespace vn::config::win32 {

template <typename Handle>
class GdiObject {
 public:
  explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
  ~GdiObject() {
    if (handle_ != nullptr) ::DeleteObject(handle_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    GdiObject(std::move(other)).swap(*this);
    return *this;
  }
  void swap(GdiObject& other) noexcept { std::swap(handle_, other.handle_); }

  Handle Get() const { return handle_; }

 private:
  Handle handle_;
};

// The screen's device context, released when the owner goes.
class ScreenDc {
 public:
  ScreenDc() : dc_(::GetDC(nullptr)) {}
  ~ScreenDc() {
    if (dc_ != nullptr) ::ReleaseDC(nullptr, dc_);
  }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Pixels at 96 dots per inch converted to the screen's (the program is system-DPI aware).
inline int ScalePixels(int pixels) {
  ScreenDc screen;
  const int dpi = screen.Get() != nullptr ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return ::MulDiv(pixels, dpi, 96);
}

// The system's message font, `points` larger and bold or not, underlined or not.
inline GdiObject<HFONT> MessageFont(int extraPoints, bool bold, bool underline) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  LOGFONTW font = metrics.lfMessageFont;
  if (font.lfHeight < 0) font.lfHeight -= ScalePixels(extraPoints * 4 / 3);
  if (bold) font.lfWeight = FW_BOLD;
  font.lfUnderline = underline ? TRUE : FALSE;
  return GdiObject<HFONT>(::CreateFontIndirectW(&font));
}

}  // namespace vn::config::win32
