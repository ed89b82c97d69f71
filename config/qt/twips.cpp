#include "config/qt/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace vn::config {

namespace {

int TwipsPerPixel(bool vertical) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen == nullptr ? 96.0
                     : vertical        ? screen->logicalDotsPerInchY()
                                       : screen->logicalDotsPerInchX();
  const int tpp = static_cast<int>(std::lround(1440.0 / (dpi > 0 ? dpi : 96.0)));
  return tpp > 0 ? tpp : 1;
}

}  // namespace

int TwipsPerPixelX() { return TwipsPerPixel(false); }
int TwipsPerPixelY() { return TwipsPerPixel(true); }

int ToPixelsX(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelX())); }
int ToPixelsY(double twips) { return static_cast<int>(std::lround(twips / TwipsPerPixelY())); }
int ToTwipsX(int pixels) { return pixels * TwipsPerPixelX(); }
int ToTwipsY(int pixels) { return pixels * TwipsPerPixelY(); }

TwipsRect TwipsGeometry(const QWidget* widget) {
  const QRect g = widget->geometry();
  return {ToTwipsX(g.x()), ToTwipsY(g.y()), ToTwipsX(g.width()), ToTwipsY(g.height())};
}

void SetTwipsGeometry(QWidget* widget, int left, int top, int width, int height) {
  widget->setGeometry(ToPixelsX(left), ToPixelsY(top), ToPixelsX(width),
                      ToPixelsY(height < 0 ? 0 : height));
}

}  // namespace vn::config
