#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Component.h"

namespace vzt {

// A control's reference to a widget it does not own (its next or previous control, the
// control a resizer drives). When the widget is one of our components the holder asks for
// its free-notification and clears the reference in Notification; Qt's guarded pointer
// covers any other widget, and a widget that went without telling the holder.
class ControlRef {
 public:
  QWidget* Get() const { return widget_.data(); }
  // The referenced widget as a component, or null.
  Component* AsComponent() const { return widget_ ? component_ : nullptr; }

  // Stores a new widget and returns the component the reference held before (or null), so
  // that the holder can withdraw its free-notification on it.
  Component* Reset(QWidget* widget);
  // Clears the reference when `removed` is the referenced component; true if it was.
  bool Forget(const Component* removed);

 private:
  QPointer<QWidget> widget_;
  Component* component_ = nullptr;
};

// Withdraws `holder`'s free-notification on `old` unless `stillUsed` says the holder refers
// to it in another way as well.
void ReleaseReference(Component& holder, Component* old, bool stillUsed);

}  // namespace vzt
