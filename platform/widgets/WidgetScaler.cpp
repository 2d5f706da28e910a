#include "platform/widgets/WidgetScaler.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "platform/widgets/PanelStatusBar.h"

namespace vzt {

namespace {

struct Ratio {
  int numerator;
  int denominator;

  int operator()(int value) const {
    return static_cast<int>(std::lround(static_cast<double>(value) * numerator / denominator));
  }
  // Qt's "no limit" stays no limit.
  int Limit(int value) const { return value >= QWIDGETSIZE_MAX ? value : (*this)(value); }
};

void ScaleFont(QWidget* w, const Ratio& scale) {
  if (!w->testAttribute(Qt::WA_SetFont)) return;  // inherits the scaled font of its parent
  QFont font = w->font();
  if (font.pixelSize() > 0)
    font.setPixelSize(std::max(1, scale(font.pixelSize())));
  else if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() * scale.numerator / scale.denominator);
  w->setFont(font);
}

void ScaleLimits(QWidget* w, const Ratio& scale) {
  const QSize min = w->minimumSize(), max = w->maximumSize();
  w->setMinimumSize(scale(min.width()), scale(min.height()));
  w->setMaximumSize(scale.Limit(max.width()), scale.Limit(max.height()));
}

void ScaleOne(QWidget* w, const Ratio& scale, bool isRoot) {
  ScaleLimits(w, scale);
  const QRect g = w->geometry();
  if (isRoot && w->isWindow())
    w->resize(scale(g.width()), scale(g.height()));
  else
    w->setGeometry(scale(g.x()), scale(g.y()), scale(g.width()), scale(g.height()));
  ScaleFont(w, scale);
  if (auto* bar = dynamic_cast<PanelStatusBar*>(w)) bar->ScalePanels(scale.numerator, scale.denominator);
}

void ScaleChildren(QWidget* parent, const Ratio& scale) {
  for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;  // dialogs owned by the window scale themselves
    ScaleOne(child, scale, false);
    ScaleChildren(child, scale);
  }
}

}  // namespace

void ScaleWidgetTree(QWidget* root, int numerator, int denominator) {
  if (!root || numerator <= 0 || denominator <= 0) return;
  const Ratio scale{numerator, denominator};
  ScaleOne(root, scale, true);
  ScaleChildren(root, scale);
}

bool ScaleForScreen(QWidget* root, int screenWidth) {
  if (screenWidth <= 0 || screenWidth == kDesignScreenWidth) return false;
  ScaleWidgetTree(root, screenWidth, kDesignScreenWidth);
  return true;
}

QSize PrimaryScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(kDesignScreenWidth, 600);
}

}  // namespace vzt
