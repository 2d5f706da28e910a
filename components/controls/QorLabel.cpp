#include "platform/NumberText.h"
#include "components/controls/QorLabel.h"

#include <QEvent>

#include "components/controls/ChildLabel.h"
#include "components/controls/ItemBinding.h"
#include "components/controls/NumberTyping.h"
#include "components/controls/Resizer.h"
#include "components/controls/WidgetProperties.h"
#include "platform/NumberPattern.h"

namespace vzt {

namespace {

template <class Apply>
auto TextSetter(Apply apply) {
  return [apply](TQorLabel& t, const PropertyValue& v) {
    QString text;
    if (!PropertyAsText(v, text)) return false;
    apply(t, text);
    return true;
  };
}

template <class Apply>
auto ColorSetter(Apply apply) {
  return [apply](TQorLabel& t, const PropertyValue& v) {
    QColor color;
    if (!PropertyAsColor(v, t, color)) return false;
    apply(t, color);
    return true;
  };
}

}  // namespace

TQorLabel::TQorLabel(Component* owner, QWidget* parent) : Base(owner, parent) {
  // The live label takes no focus, so its caption passes clicks to nobody.
  parts_.label = new TChildLabel(this, this, nullptr);
  parts_.resizer = new TResizer(this, this);
  on_color_ = off_color_ = palette().color(QPalette::WindowText);
  setAlignment(HorizontalAlignment(alignment_) | Qt::AlignVCenter);
  UpdateLabelState();
  parts_.FollowLabel();
}

TQorLabel::~TQorLabel() {
  Unbind(*this, item_);
  DestroyComponents();
}

void TQorLabel::SetNumber(TQorSerialData* item) {
  if (item && item->Kind() != sdPacket && item->Kind() != sdVector) return;
  Rebind(*this, item_, item);
}

void TQorLabel::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove && component == item_) item_ = nullptr;
  Base::Notification(component, operation);
}

// ---------------------------------------------------------------- style and state

void TQorLabel::CreateChildLabel() {
  parts_.label = new TChildLabel(this, this, nullptr);
  parts_.FollowLabel();
}

void TQorLabel::DestroyChildLabel() {
  TChildLabel* label = parts_.label;
  parts_.label = nullptr;
  delete label;
}

void TQorLabel::SetLabelStyle(TLabelStyle style) {
  style_ = style;
  if (style == lsValue || style == lsFlag)
    DestroyChildLabel();
  else if (!parts_.label)
    CreateChildLabel();
  UpdateLabelState();
}

void TQorLabel::SetState(bool on) {
  state_ = on;
  UpdateLabelState();
}

void TQorLabel::SetStatusText(int index, const QString& text) {
  (index == 1 ? on_text_ : off_text_) = text;
  UpdateLabelState();
}

void TQorLabel::SetStatusColor(int index, const QColor& color) {
  (index == 1 ? on_color_ : off_color_) = color;
  UpdateLabelState();
}

void TQorLabel::SetDataFormat(const QString& pattern) {
  data_format_ = pattern;
  UpdateLabelState();
}

bool TQorLabel::IsTableItem() const { return item_ && item_->Kind() == sdVector; }

void TQorLabel::UpdateLabelState() {
  if (IsTableItem()) {
    ShowText(table_text_);
    return;
  }
  if (!IsFlagStyle()) {
    ShowText(data_format_.isEmpty()
                 ? NumberToText(shown_value_)
                 : QString::fromStdU16String(
                       FormatNumberPattern(data_format_.toStdU16String(), shown_value_)));
    return;
  }
  SetFontColor(state_ ? on_color_ : off_color_);
  ShowText(state_ ? on_text_ : off_text_);
}

void TQorLabel::SetFontColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::WindowText, color);
  setPalette(p);
}

// With auto-size the label fits its text and keeps the edge or centre its alignment names.
void TQorLabel::ShowText(const QString& text) {
  setText(text);
  if (!auto_size_) return;
  const QSize fit = sizeHint();
  const QRect now = geometry();
  int x = now.x();
  if (alignment_ == taRightJustify) x = now.x() + now.width() - fit.width();
  if (alignment_ == taCenter) x = now.x() + (now.width() - fit.width()) / 2;
  setGeometry(x, now.y(), fit.width(), fit.height());
}

void TQorLabel::SetTextAlignment(TAlignment alignment) {
  alignment_ = alignment;
  setAlignment(HorizontalAlignment(alignment) | Qt::AlignVCenter);
}

void TQorLabel::SetAutoSize(bool on) {
  auto_size_ = on;
  if (on) ShowText(text());
}

// ---------------------------------------------------------------- data

LParam TQorLabel::Perform(unsigned msg, WParam, LParam) {
  if (msg != MSG_DATA_CHANGED || !item_) return 0;
  if (item_->Kind() == sdPacket) {
    const double value = item_->GetDouble();
    if (IsFlagStyle())
      state_ = TruncateToInt(value + 0.5) != 0;
    else
      shown_value_ = value;
  }
  UpdateLabelState();
  return 0;
}

// ---------------------------------------------------------------- properties

bool TQorLabel::SetProperty(std::string_view name, const PropertyValue& value) {
  if (auto taken = ApplySubProperty(parts_.label, "ChildLabel", name, value)) return *taken;
  if (auto taken = ApplySubProperty(parts_.resizer, "Resizer", name, value)) return *taken;
  using T = TQorLabel;
  static const PropertyTable<T> properties = {
      {"Value", ReferenceProperty<T, TQorSerialData>(&T::SetNumber)},
      {"Style", EnumProperty(&T::SetLabelStyle, lsValue, lsLabeledFlag)},
      {"OnText", TextSetter([](T& t, const QString& s) { t.SetStatusText(1, s); })},
      {"OffText", TextSetter([](T& t, const QString& s) { t.SetStatusText(2, s); })},
      {"OnColor", ColorSetter([](T& t, const QColor& c) { t.SetStatusColor(1, c); })},
      {"OffColor", ColorSetter([](T& t, const QColor& c) { t.SetStatusColor(2, c); })},
      {"State", BoolProperty(&T::SetState)},
      {"DataFormat", TextSetter([](T& t, const QString& s) { t.SetDataFormat(s); })},
      {"Alignment", EnumProperty(&T::SetTextAlignment, taLeftJustify, taCenter)},
      {"AutoSize", BoolProperty(&T::SetAutoSize)},
      {"WordWrap", BoolProperty<T>(&T::setWordWrap)},
      {"Parent", WidgetRefProperty(&T::SetParent)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  if (auto taken = ApplyWidgetProperty(*this, name, value)) {
    parts_.FollowLabel();
    return *taken;
  }
  return Component::SetProperty(name, value);
}

}  // namespace vzt
