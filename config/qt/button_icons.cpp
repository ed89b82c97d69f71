#include "config/qt/button_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

namespace vn::config {

namespace {

QColor Colour(std::uint32_t rgb) {
  return QColor((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

void Draw(QPainter& p, const Figure& figure) {
  p.setBrush(figure.fill == kNoColour ? QBrush(Qt::NoBrush) : QBrush(Colour(figure.fill)));
  if (figure.pen == kNoColour)
    p.setPen(Qt::NoPen);
  else if (figure.round)
    p.setPen(QPen(Colour(figure.pen), figure.penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  else
    p.setPen(QPen(Colour(figure.pen), figure.penWidth));
  QPolygonF points;
  for (int i = 0; i < figure.count && i < 4; ++i)
    points << QPointF(figure.points[i].x, figure.points[i].y);
  const QRectF rect(figure.points[0].x, figure.points[0].y, figure.points[1].x, figure.points[1].y);
  switch (figure.kind) {
    case FigureKind::kPolygon:
      p.drawPolygon(points);
      break;
    case FigureKind::kRect:
      p.drawRect(rect);
      break;
    case FigureKind::kEllipse:
      p.drawEllipse(rect);
      break;
    case FigureKind::kRoundRect:
      p.drawRoundedRect(rect, figure.radius, figure.radius);
      break;
    case FigureKind::kPolyline:
      p.drawPolyline(points);
      break;
  }
}

}  // namespace

QIcon MakeButtonIcon(ButtonPicture picture) {
  const int box = PictureBox(picture);
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(box * scale, box * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    for (const Figure& figure : PictureFigures(picture)) Draw(p, figure);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace vn::config
