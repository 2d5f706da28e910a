#include "components/controls/ControlParts.h"

#include "components/controls/ChildLabel.h"
#include "components/controls/Resizer.h"

namespace vzt {

void ControlParts::Forget(const Component* removed) {
  if (!removed) return;
  if (removed == label) label = nullptr;
  if (removed == resizer) resizer = nullptr;
}

void ControlParts::Loaded() {
  if (label) label->Loaded();
  if (resizer) resizer->Loaded();
}

void ControlParts::FollowLabel() {
  if (label) label->FollowControl();
}

void ControlParts::UpdateLabel() {
  if (label) label->Update();
}

void ControlParts::FollowLabelAfter(const QEvent& event) {
  switch (event.type()) {
    case QEvent::ParentChange:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
      FollowLabel();
      break;
    default:
      break;
  }
}

}  // namespace vzt
