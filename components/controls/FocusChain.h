#pragma once

#include <QtCore/qnamespace.h>

class QWidget;

namespace vzt {

// Whether a control can take the focus now: it is showing (and so is its window) and
// enabled.
bool CanTakeFocus(const QWidget* control);

// Gives the focus to a control that can take it; false when it cannot.
bool GiveFocus(QWidget* control);

// Focus changes that mean entering or leaving a control; a window losing activation or a
// popup list opening over the control do not.
bool MovesFocusBetweenControls(Qt::FocusReason reason);

}  // namespace vzt
