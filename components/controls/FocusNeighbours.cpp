#include "components/controls/FocusNeighbours.h"

namespace vzt {

void FocusNeighbours::SetNext(QWidget* control, const Component* alsoHeld) {
  Set(next_, control, alsoHeld);
}

void FocusNeighbours::SetPrev(QWidget* control, const Component* alsoHeld) {
  Set(prev_, control, alsoHeld);
}

bool FocusNeighbours::Refers(const Component* c) const {
  return c && (c == next_.AsComponent() || c == prev_.AsComponent());
}

void FocusNeighbours::Forget(const Component* removed) {
  next_.Forget(removed);
  prev_.Forget(removed);
}

void FocusNeighbours::Set(ControlRef& ref, QWidget* control, const Component* alsoHeld) {
  Component* old = ref.Reset(control);
  ReleaseReference(holder_, old, Refers(old) || (old && old == alsoHeld));
  if (Component* c = ref.AsComponent()) holder_.FreeNotification(c);
}

}  // namespace vzt
