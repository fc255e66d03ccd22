#include "dialogs/image_list.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace units {
namespace dialogs {
namespace {

QPixmap Canvas() {
  QPixmap pixmap(kImageSize, kImageSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

QPen Stroke(const QColor& colour) { return QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

QPixmap Tick() {
  QPixmap pixmap = Canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Stroke(QColor(0, 150, 0)));
  QPainterPath path;
  path.moveTo(3, 8.5);
  path.lineTo(6.5, 12);
  path.lineTo(13, 4);
  painter.drawPath(path);
  return pixmap;
}

QPixmap Cross() {
  QPixmap pixmap = Canvas();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Stroke(QColor(210, 0, 0)));
  painter.drawLine(QPointF(4, 4), QPointF(12, 12));
  painter.drawLine(QPointF(12, 4), QPointF(4, 12));
  return pixmap;
}

}  // namespace

QIcon ListImage(int index) {
  switch (index) {
    case kImageTick:
      return QIcon(Tick());
    case kImageCross:
      return QIcon(Cross());
    default:
      return QIcon();
  }
}

}  // namespace dialogs
}  // namespace units
