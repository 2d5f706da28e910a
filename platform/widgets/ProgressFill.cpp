#include "platform/widgets/ProgressFill.h"

#include <QPainter>
#include <algorithm>

namespace vzt {

namespace {

constexpr int kBevelWidth = 1;

int Mix(int from, int to, int step, int steps) {
  return steps <= 1 ? from : from + (to - from) * step / (steps - 1);
}

}  // namespace

ProgressFill::ProgressFill(QWidget* parent) : QWidget(parent), background_(palette().color(QPalette::Button)) {}

void ProgressFill::SetPosition(int percent) {
  const int clamped = std::clamp(percent, kMinPosition, kMaxPosition);
  if (clamped == position_) return;
  position_ = clamped;
  update();
}

void ProgressFill::SetSolidFill(const QColor& color) {
  gradient_ = false;
  fill_ = color;
  update();
}

void ProgressFill::SetGradientFill(const QColor& from, const QColor& to, int bands) {
  gradient_ = true;
  fill_ = from;
  gradient_to_ = to;
  bands_ = std::max(2, bands);
  update();
}

void ProgressFill::SetBackground(const QColor& color) {
  background_ = color;
  update();
}

void ProgressFill::SetBevel(Bevel bevel) {
  bevel_ = bevel;
  update();
}

QRect ProgressFill::InnerRect() const {
  const int inset = bevel_ == Bevel::None ? 0 : kBevelWidth;
  return rect().adjusted(inset, inset, -inset, -inset);
}

int ProgressFill::FilledWidth() const { return InnerRect().width() * position_ / kMaxPosition; }

int ProgressFill::BandAt(int x) const {
  const int width = std::max(1, InnerRect().width());
  return std::clamp(x, 0, width - 1) * bands_ / width;
}

QColor ProgressFill::BandColour(int band) const {
  return QColor(Mix(fill_.red(), gradient_to_.red(), band, bands_),
                Mix(fill_.green(), gradient_to_.green(), band, bands_),
                Mix(fill_.blue(), gradient_to_.blue(), band, bands_));
}

QColor ProgressFill::FillColorAt(int x) const { return gradient_ ? BandColour(BandAt(x)) : fill_; }

void ProgressFill::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect inner = InnerRect();
  painter.fillRect(inner, background_);
  const int filled = FilledWidth();
  if (!gradient_) {
    painter.fillRect(QRect(inner.left(), inner.top(), filled, inner.height()), fill_);
  } else {
    // One rectangle per run of columns in the same colour band, cut where the fill ends.
    for (int x = 0; x < filled;) {
      const int band = BandAt(x);
      int end = x + 1;
      while (end < filled && BandAt(end) == band) ++end;
      painter.fillRect(QRect(inner.left() + x, inner.top(), end - x, inner.height()), BandColour(band));
      x = end;
    }
  }
  if (bevel_ == Bevel::None) return;
  const QRect r = rect();
  const bool raised = bevel_ == Bevel::Raised;
  painter.setPen(palette().color(raised ? QPalette::Light : QPalette::Dark));
  painter.drawLine(r.topLeft(), r.topRight());
  painter.drawLine(r.topLeft(), r.bottomLeft());
  painter.setPen(palette().color(raised ? QPalette::Dark : QPalette::Light));
  painter.drawLine(r.bottomLeft(), r.bottomRight());
  painter.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace vzt
