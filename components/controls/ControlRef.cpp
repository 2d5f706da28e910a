#include "components/controls/ControlRef.h"

namespace vzt {

Component* ControlRef::Reset(QWidget* widget) {
  Component* old = AsComponent();
  widget_ = widget;
  component_ = dynamic_cast<Component*>(widget);
  return old;
}

bool ControlRef::Forget(const Component* removed) {
  if (!removed || removed != component_) return false;
  widget_ = nullptr;
  component_ = nullptr;
  return true;
}

void ReleaseReference(Component& holder, Component* old, bool stillUsed) {
  if (old && !stillUsed) holder.RemoveFreeNotification(old);
}

}  // namespace vzt
