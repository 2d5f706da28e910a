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

}  // namespace vzt
