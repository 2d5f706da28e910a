#pragma once

class QWidget;

namespace vzt {

// Whether a control can take the focus now: it is showing (and so is its window) and
// enabled.
bool CanTakeFocus(const QWidget* control);

// Gives the focus to a control that can take it; false when it cannot.
bool GiveFocus(QWidget* control);

}  // namespace vzt
