#pragma once

#include <QtCore/qnamespace.h>

namespace vzt {

// Tells a control's focus events that enter or leave it from those that do not: a window
// losing and regaining activation or a popup list opening over the control keep the visit
// going, as does the focus coming back afterwards. The first focus a window gives a control
// when it opens does enter it.
class FocusVisit {
 public:
  // True when the focus arriving starts a visit.
  bool Enters(Qt::FocusReason reason);
  // True when the focus going ends the visit.
  bool Leaves(Qt::FocusReason reason);
  bool Visiting() const { return visiting_; }

 private:
  bool visiting_ = false;
};

}  // namespace vzt
