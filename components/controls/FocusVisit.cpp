#include "components/controls/FocusVisit.h"

namespace vzt {

bool FocusVisit::Enters(Qt::FocusReason) {
  if (visiting_) return false;
  visiting_ = true;
  return true;
}

bool FocusVisit::Leaves(Qt::FocusReason reason) {
  if (!visiting_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
    return false;
  visiting_ = false;
  return true;
}

}  // namespace vzt
