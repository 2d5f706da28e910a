#pragma once

#include <QSize>

class QWidget;

namespace vzt {

// The windows are designed for a screen 800 pixels wide.
inline constexpr int kDesignScreenWidth = 800;

// Scales a widget and everything inside it by numerator / denominator: positions, sizes,
// size limits, fonts set on a widget, and the panel widths of status bars. A window keeps
// its place on the screen and only changes its size.
void ScaleWidgetTree(QWidget* root, int numerator, int denominator);

// Scales by screenWidth / 800 when the screen is not 800 pixels wide; true when it did.
bool ScaleForScreen(QWidget* root, int screenWidth);

// The primary screen's size, or the design size when there is no screen.
QSize PrimaryScreenSize();

}  // namespace vzt
