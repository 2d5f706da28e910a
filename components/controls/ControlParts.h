#pragma once

#include <QEvent>

namespace vzt {

class Component;
class TChildLabel;
class TResizer;

// The parts a bound control owns as components of its own: the caption label (when it has
// one) and the resizer. The control creates them; this keeps the two pointers and what
// every control does with them alike.
struct ControlParts {
  TChildLabel* label = nullptr;
  TResizer* resizer = nullptr;

  // Drops the pointer to a part that is going.
  void Forget(const Component* removed);
  // Loading the control loads its parts as well.
  void Loaded();
  // The label takes the control's parent and visibility.
  void FollowLabel();
  // The label takes the control's new bounds.
  void UpdateLabel();
  // Follows the label after the events that change the control's parent or visibility.
  void FollowLabelAfter(const QEvent& event);
};

}  // namespace vzt
