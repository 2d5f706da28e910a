#include "app/WaitAnimationClip.h"

#include <QPainter>

namespace vzt {

namespace {

// The 16 colours of the standard palette.
QList<QRgb> StandardColours() {
  return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
          qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
          qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
          qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

constexpr int kCableY = 21;
constexpr int kCableFrom = 31;
constexpr int kCableTo = 88;

void DrawComputer(QPainter& p, int frame) {
  p.fillRect(3, 3, 27, 20, QColor(192, 192, 192));
  p.fillRect(5, 5, 23, 15, QColor(0, 0, 128));
  // The screen's text line grows while the data leaves.
  p.fillRect(7, 8, 2 + frame * 2, 2, QColor(0, 255, 255));
  p.fillRect(7, 13, 12, 2, QColor(0, 255, 255));
  p.fillRect(13, 23, 7, 3, QColor(128, 128, 128));
  p.fillRect(8, 26, 17, 3, QColor(192, 192, 192));
}

void DrawController(QPainter& p, bool lit) {
  p.fillRect(88, 9, 29, 19, QColor(128, 128, 128));
  p.fillRect(90, 11, 25, 15, QColor(192, 192, 192));
  p.fillRect(86, 18, 3, 7, QColor(0, 0, 0));
  p.fillRect(93, 14, 10, 3, QColor(0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(lit ? QColor(0, 255, 0) : QColor(0, 128, 0));
  p.drawRect(108, 14, 4, 4);
}

void DrawCable(QPainter& p, int frame) {
  p.setPen(QPen(QColor(0, 0, 0), 2));
  p.drawLine(kCableFrom, kCableY, kCableTo, kCableY);
  const int step = (kCableTo - kCableFrom - 6) / (kWaitClipFrames - 1);
  p.fillRect(kCableFrom + frame * step, kCableY - 3, 6, 6, QColor(255, 255, 0));
}

QImage DrawFrame(int frame) {
  QImage image(kWaitClipWidth, kWaitClipHeight, QImage::Format_RGB32);
  image.fill(QColor(192, 192, 192));
  QPainter p(&image);
  DrawComputer(p, frame);
  DrawCable(p, frame);
  DrawController(p, frame == kWaitClipFrames - 1);
  p.end();
  return image.convertToFormat(QImage::Format_Indexed8, StandardColours(),
                               Qt::ThresholdDither | Qt::AvoidDither);
}

}  // namespace

std::vector<QImage> WaitAnimationFrames() {
  std::vector<QImage> frames;
  for (int i = 0; i < kWaitClipFrames; ++i) frames.push_back(DrawFrame(i));
  return frames;
}

}  // namespace vzt
