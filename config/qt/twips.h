// The window's unit: twips (1/1440 inch). Positions and sizes of the window's controls are
// designed and computed in twips; this is the one place that converts them to screen pixels.
#pragma once

#include <QRect>

#include "config/core/layout.h"

class QWidget;

namespace vn::config {

// Whole twips per screen pixel (15 at 96 dots per inch), from the primary screen.
int TwipsPerPixelX();
int TwipsPerPixelY();

int ToPixelsX(double twips);
int ToPixelsY(double twips);
int ToTwipsX(int pixels);
int ToTwipsY(int pixels);

// A widget's position and size relative to its parent, in twips, and the reverse.
TwipsRect TwipsGeometry(const QWidget* widget);
void SetTwipsGeometry(QWidget* widget, int left, int top, int width, int height);
inline void SetTwipsGeometry(QWidget* widget, const TwipsRect& rect) {
  SetTwipsGeometry(widget, rect.left, rect.top, rect.width, rect.height);
}

}  // namespace vn::config
