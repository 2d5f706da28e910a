#pragma once

#include <QEvent>
#include <QWidget>

#include "components/controls/ControlParts.h"
#include "components/controls/WidgetProperties.h"
#include "platform/Component.h"

namespace vzt {

// A Qt widget that is also a component and owns a caption label and a resizer. The label
// follows every change of the widget's bounds, parent and visibility; the parts are
// forgotten when they go and loaded with the widget.
template <class QtWidget>
class TCaptionedControl : public QtWidget, public Component {
 public:
  TCaptionedControl(Component* owner, QWidget* parent) : QtWidget(parent), Component(owner) {}

  TResizer* Resizer() const { return parts_.resizer; }

  void SetBounds(int left, int top, int width, int height) {
    this->setGeometry(left, top, width, height);
    parts_.UpdateLabel();
  }

  void SetParent(QWidget* parent) {
    AdoptParent(*this, parent);
    parts_.FollowLabel();
  }

  void Notification(Component* component, Operation operation) override {
    if (operation == Operation::opRemove && component) parts_.Forget(component);
    Component::Notification(component, operation);
  }

  void Loaded() override {
    Component::Loaded();
    parts_.Loaded();
  }

 protected:
  bool event(QEvent* event) override {
    const bool handled = QtWidget::event(event);
    parts_.FollowLabelAfter(*event);
    return handled;
  }

  void moveEvent(QMoveEvent* event) override {
    QtWidget::moveEvent(event);
    parts_.UpdateLabel();
  }

  void resizeEvent(QResizeEvent* event) override {
    QtWidget::resizeEvent(event);
    parts_.UpdateLabel();
  }

  ControlParts parts_;
};

}  // namespace vzt
