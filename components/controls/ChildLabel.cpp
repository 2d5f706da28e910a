#include "components/controls/ChildLabel.h"

#include <QMouseEvent>

#include "components/controls/FocusChain.h"
#include "components/controls/WidgetProperties.h"

namespace vzt {

TChildLabel::TChildLabel(Component* owner, QWidget* control, QWidget* focusControl)
    : Component(owner), control_(control), focus_(focusControl) {
  Component::SetName("ChildLabel");
  setText(owner ? QString::fromStdString(owner->Name()) : QString());
  setAlignment(HorizontalAlignment(alignment_) | Qt::AlignVCenter);
  if (auto_size_) adjustSize();
}

void TChildLabel::SetLabelPosition(TLabelPosition position) {
  if (!control_) return;
  position_ = position;
  Reposition();
}

void TChildLabel::SetLabelSpacing(int pixels) {
  spacing_ = pixels;
  Reposition();
}

void TChildLabel::SetLabelAlignment(TAlignment alignment) {
  alignment_ = alignment;
  setAlignment(HorizontalAlignment(alignment) | Qt::AlignVCenter);
  Reposition();
}

void TChildLabel::SetCaption(const QString& caption) {
  setText(caption);
  AdjustBounds();
}

void TChildLabel::SetAutoSize(bool on) {
  auto_size_ = on;
  AdjustBounds();
}

void TChildLabel::SetWidth(int width) { resize(std::max(0, width), height()); }

void TChildLabel::SetHeight(int height) { resize(width(), std::max(0, height)); }

void TChildLabel::Update() {
  update();
  AdjustBounds();
}

void TChildLabel::AdjustBounds() {
  if (auto_size_) adjustSize();
  Reposition();
}

void TChildLabel::FollowControl() {
  if (!control_) return;
  QWidget* parent = control_->parentWidget();
  if (parentWidget() != parent) setParent(parent);
  setVisible(parent && !control_->isHidden());
  AdjustBounds();
}

// The side and the spacing fix a point; the alignment says which part of the label sits
// there. With lpLeft and left alignment the spacing is the distance between the two left
// edges, so captions of controls that share a left edge start at the same x.
void TChildLabel::Reposition() {
  if (!control_) return;
  const QRect c = control_->geometry();
  const int w = width(), h = height();
  int x = 0, y = 0;
  switch (position_) {
    case lpAbove: x = c.x(), y = c.y() - h - spacing_; break;
    case lpBelow: x = c.x(), y = c.y() + c.height() + spacing_; break;
    case lpLeft: x = c.x() - spacing_, y = c.y() + (c.height() - h) / 2; break;
    case lpRight: x = c.x() + c.width() + spacing_, y = c.y() + (c.height() - h) / 2; break;
  }
  const bool acrossTheControl = position_ == lpAbove || position_ == lpBelow;
  if (alignment_ == taRightJustify) x += acrossTheControl ? c.width() - w : -w;
  if (alignment_ == taCenter) x += acrossTheControl ? (c.width() - w) / 2 : -(w / 2);
  move(x, y);
}

void TChildLabel::Click() {
  if (OnClick) OnClick(this);
  GiveFocus(focus_.data());
}

void TChildLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) AdjustBounds();
}

void TChildLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) Click();
}

bool TChildLabel::SetProperty(std::string_view name, const PropertyValue& value) {
  using T = TChildLabel;
  static const PropertyTable<T> properties = {
      {"Caption", [](T& t, const PropertyValue& v) {
         QString text;
         if (!PropertyAsText(v, text)) return false;
         t.SetCaption(text);
         return true;
       }},
      {"LabelPosition", EnumProperty(&T::SetLabelPosition, lpAbove, lpRight)},
      {"LabelSpacing", IntProperty(&T::SetLabelSpacing)},
      {"Alignment", EnumProperty(&T::SetLabelAlignment, taLeftJustify, taCenter)},
      {"AutoSize", BoolProperty(&T::SetAutoSize)},
      {"Width", IntProperty(&T::SetWidth)},
      {"Height", IntProperty(&T::SetHeight)},
      {"WordWrap", BoolProperty<T>(&T::setWordWrap)},
      // The place is always computed.
      {"Left", [](T&, const PropertyValue&) { return false; }},
      {"Top", [](T&, const PropertyValue&) { return false; }},
      {"OnClick", EventProperty(&T::OnClick)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  if (auto taken = ApplyWidgetProperty(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
