#include "components/controls/FocusChain.h"

#include <QWidget>

namespace vzt {

bool CanTakeFocus(const QWidget* control) {
  return control && control->isVisible() && control->isEnabled();
}

bool GiveFocus(QWidget* control) {
  if (!CanTakeFocus(control)) return false;
  control->setFocus(Qt::OtherFocusReason);
  return true;
}

bool MovesFocusBetweenControls(Qt::FocusReason reason) {
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace vzt
