#pragma once

#include <QWidget>

#include "components/controls/ControlRef.h"

namespace vzt {

// A control's next and previous controls of its focus chain. It keeps the holder's
// free-notifications in step with the two references, so that a control that goes is
// forgotten here.
class FocusNeighbours {
 public:
  explicit FocusNeighbours(Component& holder) : holder_(holder) {}

  QWidget* Next() const { return next_.Get(); }
  QWidget* Prev() const { return prev_.Get(); }

  // `alsoHeld` is a component the holder refers to in another way (its item): its
  // free-notification stays when it was the neighbour replaced.
  void SetNext(QWidget* control, const Component* alsoHeld = nullptr);
  void SetPrev(QWidget* control, const Component* alsoHeld = nullptr);

  // Whether `c` is the next or the previous control.
  bool Refers(const Component* c) const;
  // Clears each reference to the removed component.
  void Forget(const Component* removed);

 private:
  void Set(ControlRef& ref, QWidget* control, const Component* alsoHeld);

  Component& holder_;
  ControlRef next_;
  ControlRef prev_;
};

}  // namespace vzt
