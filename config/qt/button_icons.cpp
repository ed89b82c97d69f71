#include "config/qt/button_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vn::config {

namespace {

constexpr int kSize = 32;

void Triangle(QPainter& p, double tipX, double baseX, const QColor& color) {
  QPainterPath path;
  path.moveTo(tipX, 16);
  path.lineTo(baseX, 7);
  path.lineTo(baseX, 25);
  path.closeSubpath();
  p.fillPath(path, color);
}

void Bar(QPainter& p, double x, const QColor& color) { p.fillRect(QRectF(x, 7, 3.5, 18), color); }

void Draw(QPainter& p, ButtonPicture picture) {
  const QColor navy(0x1f, 0x4e, 0x8c);
  const QColor green(0x2e, 0x8b, 0x3e);
  const QColor red(0xc0, 0x2a, 0x2a);
  p.setRenderHint(QPainter::Antialiasing);
  switch (picture) {
    case ButtonPicture::kFirst:
      Bar(p, 7, navy);
      Triangle(p, 11, 25, navy);
      break;
    case ButtonPicture::kPrevious:
      Triangle(p, 8, 23, navy);
      break;
    case ButtonPicture::kNext:
      Triangle(p, 24, 9, navy);
      break;
    case ButtonPicture::kLast:
      Triangle(p, 21, 7, navy);
      Bar(p, 21.5, navy);
      break;
    case ButtonPicture::kDelete: {
      p.setPen(QPen(red, 2));
      p.setBrush(QColor(0xf6, 0xe0, 0xe0));
      p.drawRect(QRectF(9, 10, 14, 16));
      p.drawLine(QPointF(7, 8), QPointF(25, 8));
      p.drawLine(QPointF(13, 5.5), QPointF(19, 5.5));
      p.drawLine(QPointF(13.5, 13), QPointF(13.5, 23));
      p.drawLine(QPointF(18.5, 13), QPointF(18.5, 23));
      break;
    }
    case ButtonPicture::kAddNew:
      p.fillRect(QRectF(13.5, 6, 5, 20), green);
      p.fillRect(QRectF(6, 13.5, 20, 5), green);
      break;
    case ButtonPicture::kCancel: {
      p.setPen(QPen(red, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(9, 9), QPointF(23, 23));
      p.drawLine(QPointF(23, 9), QPointF(9, 23));
      break;
    }
    case ButtonPicture::kOK: {
      p.setPen(QPen(green, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      QPainterPath path;
      path.moveTo(7, 17);
      path.lineTo(13, 23);
      path.lineTo(25, 9);
      p.drawPath(path);
      break;
    }
    case ButtonPicture::kInfo: {
      p.setPen(Qt::NoPen);
      p.setBrush(navy);
      p.drawEllipse(QRectF(3, 3, 26, 26));
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(14, 7.5, 4, 4));
      p.drawRect(QRectF(14, 13.5, 4, 11));
      break;
    }
    case ButtonPicture::kDataLink: {
      p.setPen(QPen(navy, 1.6));
      p.setBrush(QColor(0xd8, 0xe6, 0xf5));
      p.drawRect(QRectF(6, 11, 20, 14));
      p.drawEllipse(QRectF(6, 6, 20, 9));
      p.drawEllipse(QRectF(6, 20, 20, 9));
      p.setPen(Qt::NoPen);
      p.drawRect(QRectF(6.8, 11, 18.4, 13));
      p.setPen(QPen(navy, 1.6));
      p.drawLine(QPointF(6, 10.5), QPointF(6, 24.5));
      p.drawLine(QPointF(26, 10.5), QPointF(26, 24.5));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(6, 6, 20, 9));
      break;
    }
    case ButtonPicture::kArrowUp:
    case ButtonPicture::kArrowDown: {
      const bool up = picture == ButtonPicture::kArrowUp;
      QPainterPath path;
      path.moveTo(16, up ? 6 : 26);
      path.lineTo(6, up ? 18 : 14);
      path.lineTo(26, up ? 18 : 14);
      path.closeSubpath();
      p.fillPath(path, navy);
      p.fillRect(QRectF(12.5, up ? 17 : 6, 7, 9), navy);
      break;
    }
    case ButtonPicture::kProgram: {
      p.setPen(Qt::NoPen);
      p.setBrush(navy);
      p.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
      p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      QPainterPath v;
      v.moveTo(8, 8);
      v.lineTo(16, 24);
      v.lineTo(24, 8);
      p.setBrush(Qt::NoBrush);
      p.drawPath(v);
      break;
    }
  }
}

}  // namespace

QIcon MakeButtonIcon(ButtonPicture picture) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(kSize * scale, kSize * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.scale(scale, scale);
    Draw(p, picture);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace vn::config
