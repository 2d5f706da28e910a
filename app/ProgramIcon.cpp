#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vzt {

QImage ProgramIconImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // Drawn on a 64-unit grid, as in the SVG.
  p.scale(size / 64.0, size / 64.0);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 128));
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);

  QPen stroke(QColor(255, 255, 0), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(stroke);
  p.setBrush(Qt::NoBrush);
  QPainterPath lambda;
  lambda.moveTo(16, 12);
  lambda.cubicTo(24, 10, 26, 16, 30, 26);
  lambda.lineTo(42, 52);
  p.drawPath(lambda);
  p.drawLine(QPointF(30, 30), QPointF(18, 52));

  p.setPen(QPen(Qt::white, 2));
  p.setBrush(QColor(0, 160, 0));
  p.drawEllipse(QPointF(49, 16), 6, 6);
  return image;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
  return icon;
}

}  // namespace vzt
