#include "config/win32/pictures.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "config/win32/handles.h"

namespace vn::config::win32 {

namespace {

// The background nothing in a picture uses; it becomes transparent.
constexpr COLORREF kKey = RGB(255, 0, 255);

COLORREF Colour(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

// Selects an object into a DC for one figure and puts the previous one back.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  ~Selection() { ::SelectObject(dc_, previous_); }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

void DrawFigure(HDC dc, const Figure& figure, double scale) {
  auto px = [scale](double units) { return static_cast<int>(std::lround(units * scale)); };
  UniqueGdiObject brush(figure.fill == kNoColour ? nullptr
                                                 : ::CreateSolidBrush(Colour(figure.fill)));
  UniqueGdiObject pen;
  if (figure.pen != kNoColour) {
    LOGBRUSH penBrush{BS_SOLID, Colour(figure.pen), 0};
    const DWORD ends =
        figure.round ? PS_ENDCAP_ROUND | PS_JOIN_ROUND : PS_ENDCAP_FLAT | PS_JOIN_MITER;
    const int width = std::max(1, px(figure.penWidth));
    pen.Reset(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID | ends, static_cast<DWORD>(width), &penBrush,
                             0, nullptr));
  }
  Selection brushSelection(dc, brush.Get() != nullptr ? brush.Get() : ::GetStockObject(NULL_BRUSH));
  Selection penSelection(dc, pen.Get() != nullptr ? pen.Get() : ::GetStockObject(NULL_PEN));
  POINT points[4] = {};
  for (int i = 0; i < figure.count && i < 4; ++i)
    points[i] = {px(figure.points[i].x), px(figure.points[i].y)};
  const int left = points[0].x;
  const int top = points[0].y;
  // Without an outline GDI leaves the right and bottom edge unfilled.
  const int extra = pen.Get() == nullptr ? 1 : 0;
  const int right = px(figure.points[0].x + figure.points[1].x) + extra;
  const int bottom = px(figure.points[0].y + figure.points[1].y) + extra;
  switch (figure.kind) {
    case FigureKind::kPolygon:
      ::Polygon(dc, points, figure.count);
      break;
    case FigureKind::kRect:
      ::Rectangle(dc, left, top, right, bottom);
      break;
    case FigureKind::kEllipse:
      ::Ellipse(dc, left, top, right, bottom);
      break;
    case FigureKind::kRoundRect:
      ::RoundRect(dc, left, top, right, bottom, px(2 * figure.radius), px(2 * figure.radius));
      break;
    case FigureKind::kPolyline:
      ::Polyline(dc, points, figure.count);
      break;
  }
}

}  // namespace

HICON MakePictureIcon(Picture picture, int size) {
  if (size < 1) size = 1;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  UniqueBitmap colour(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (colour.Get() == nullptr || bits == nullptr) return nullptr;
  {
    const UniqueMemoryDc memory(::CreateCompatibleDC(nullptr));
    Selection selection(memory.Get(), colour.Get());
    const UniqueGdiObject key(::CreateSolidBrush(kKey));
    RECT all{0, 0, size, size};
    ::FillRect(memory.Get(), &all, static_cast<HBRUSH>(key.Get()));
    const double scale = static_cast<double>(size) / PictureBox(picture);
    for (const Figure& figure : PictureFigures(picture)) DrawFigure(memory.Get(), figure, scale);
    ::GdiFlush();
  }
  // GDI leaves alpha alone: the key is transparent, everything drawn opaque. The mask says
  // the same for the drawing of a disabled button's picture.
  const int maskStride = (size + 15) / 16 * 2;
  std::vector<std::uint8_t> maskBits(static_cast<size_t>(maskStride * size), 0);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      std::uint32_t& pixel = pixels[y * size + x];
      const std::uint32_t rgb = pixel & 0x00ffffffu;
      if (rgb == 0x00ff00ffu) {
        pixel = 0;
        maskBits[static_cast<size_t>(y * maskStride + x / 8)] |=
            static_cast<std::uint8_t>(0x80u >> (x % 8));
      } else {
        pixel = rgb | 0xff000000u;
      }
    }
  }
  UniqueBitmap mask(::CreateBitmap(size, size, 1, 1, maskBits.data()));
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmColor = colour.Get();
  icon.hbmMask = mask.Get();
  return ::CreateIconIndirect(&icon);
}

}  // namespace vn::config::win32
