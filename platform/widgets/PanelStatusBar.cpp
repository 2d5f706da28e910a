#include "platform/widgets/PanelStatusBar.h"

#include <QPainter>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>

namespace vzt {

namespace {

constexpr int kTextMargin = 4;

void DrawBevel(QPainter& painter, const QRect& r, PanelStatusBar::Bevel bevel, const QPalette& palette) {
  if (bevel == PanelStatusBar::Bevel::None) return;
  const bool raised = bevel == PanelStatusBar::Bevel::Raised;
  const QColor topLeft = raised ? palette.color(QPalette::Light) : palette.color(QPalette::Dark);
  const QColor bottomRight = raised ? palette.color(QPalette::Dark) : palette.color(QPalette::Light);
  painter.setPen(topLeft);
  painter.drawLine(r.topLeft(), r.topRight());
  painter.drawLine(r.topLeft(), r.bottomLeft());
  painter.setPen(bottomRight);
  painter.drawLine(r.bottomLeft(), r.bottomRight());
  painter.drawLine(r.topRight(), r.bottomRight());
}

}  // namespace

PanelStatusBar::PanelStatusBar(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

int PanelStatusBar::AddPanel(int width, Bevel bevel, const QColor& fontColor, const QString& text) {
  panels_.push_back({width, bevel, fontColor, text});
  update();
  return PanelCount() - 1;
}

QString PanelStatusBar::PanelText(int index) const { return Valid(index) ? panels_[index].text : QString(); }

void PanelStatusBar::SetPanelText(int index, const QString& text) {
  if (!Valid(index)) return;
  panels_[index].text = text;
  update();
}

QColor PanelStatusBar::PanelFontColor(int index) const {
  return Valid(index) ? panels_[index].fontColor : QColor();
}

void PanelStatusBar::SetPanelFontColor(int index, const QColor& color) {
  if (!Valid(index)) return;
  panels_[index].fontColor = color;
  update();
}

int PanelStatusBar::PanelWidth(int index) const { return Valid(index) ? panels_[index].width : 0; }

void PanelStatusBar::SetPanelWidth(int index, int width) {
  if (!Valid(index)) return;
  panels_[index].width = width;
  update();
}

QRect PanelStatusBar::PanelRect(int index) const {
  if (!Valid(index)) return {};
  int left = 0;
  for (int i = 0; i < index; ++i) left += std::max(0, panels_[i].width);
  const bool last = index == PanelCount() - 1;
  const int width = (last || panels_[index].width == kRestOfBar) ? std::max(0, this->width() - left)
                                                                 : panels_[index].width;
  return QRect(left, 0, width, height());
}

void PanelStatusBar::ScalePanels(int numerator, int denominator) {
  if (denominator == 0) return;
  for (Panel& p : panels_)
    if (p.width > 0)
      p.width = static_cast<int>(std::lround(static_cast<double>(p.width) * numerator / denominator));
  update();
}

QSize PanelStatusBar::sizeHint() const {
  const int textHeight = fontMetrics().height();
  return QSize(200, textHeight + 2 * kTextMargin);
}

void PanelStatusBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (int i = 0; i < PanelCount(); ++i) {
    const QRect r = PanelRect(i);
    if (r.width() <= 0) continue;
    DrawBevel(painter, r, panels_[i].bevel, palette());
    painter.setPen(panels_[i].fontColor);
    painter.drawText(r.adjusted(kTextMargin, 0, -kTextMargin, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     panels_[i].text);
  }
}

}  // namespace vzt
