#include "platform/NumberText.h"
#include "components/controls/QorCheckBox.h"

#include "components/controls/ItemBinding.h"
#include "components/controls/Resizer.h"
#include "components/controls/WidgetProperties.h"

namespace vzt {

TQorCheckBox::TQorCheckBox(Component* owner, QWidget* parent) : QCheckBox(parent), Component(owner) {
  setTristate(false);
  setChecked(false);
  parts_.resizer = new TResizer(this, this);
  // `clicked` comes only from the user (mouse or Space), never from setChecked.
  connect(this, &QAbstractButton::clicked, [this] { Click(); });
}

TQorCheckBox::~TQorCheckBox() {
  DestroyComponents();
  Unbind(*this, item_);
}

void TQorCheckBox::SetNumber(TQorNumber* item) { Rebind(*this, item_, item); }

void TQorCheckBox::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove && component) {
    parts_.Forget(component);
    if (component == item_) item_ = nullptr;
  }
  Component::Notification(component, operation);
}

void TQorCheckBox::Loaded() {
  Component::Loaded();
  parts_.Loaded();
}

void TQorCheckBox::SetCheckCondition(TCheckCondition condition) {
  condition_ = condition;
  InitData();
}

void TQorCheckBox::SetConditionValue(double value) {
  condition_value_ = value;
  InitData();
}

bool TQorCheckBox::InitData() {
  return InitFromItem(item_, [this](double value) { SetupCheckedState(value); });
}

bool TQorCheckBox::ConditionHolds(double value) const {
  switch (condition_) {
    case ccEqualTo: return value == condition_value_;
    case ccNotEqualTo: return value != condition_value_;
    case ccMinorOf: return value < condition_value_;
    case ccGreaterOf: return value > condition_value_;
    case ccMaskedBit:
      return static_cast<double>(TruncateToInt(value) & TruncateToInt(condition_value_)) ==
             CheckedValue;
  }
  return false;
}

void TQorCheckBox::SetupCheckedState(double value) {
  if (IsDesigning()) return;
  setChecked(ConditionHolds(value));
}

void TQorCheckBox::Click() {
  if (OnClick) OnClick(this);
  if (!item_) return;
  const double written = isChecked() ? CheckedValue : UncheckedValue;
  if (condition_ == ccMaskedBit)
    WriteMaskedBits(written);
  else
    WriteComparison(written);
}

// A comparison box may write a value outside the item's limits.
void TQorCheckBox::WriteComparison(double value) {
  const bool limitsWereOff = item_->DisableLimits;
  item_->DisableLimits = true;
  item_->SetData(value);
  if (item_) item_->DisableLimits = limitsWereOff;
}

// The bits of the mask take those of `value`; every other bit stays as it was.
void TQorCheckBox::WriteMaskedBits(double value) {
  double current = 0;
  if (!item_->GetData(&current)) return;
  const int mask = TruncateToInt(condition_value_);
  const int bits = (TruncateToInt(current) & ~mask) | (TruncateToInt(value) & mask);
  item_->SetData(bits);
}

void TQorCheckBox::DataArrived() {
  ShowItemData(item_, [this](double value) { SetupCheckedState(value); });
}

LParam TQorCheckBox::Perform(unsigned msg, WParam wparam, LParam) {
  if (TakeDataMessage(item_, msg, wparam)) DataArrived();
  return 0;
}

bool TQorCheckBox::SetProperty(std::string_view name, const PropertyValue& value) {
  if (auto taken = ApplySubProperty(parts_.resizer, "Resizer", name, value)) return *taken;
  using T = TQorCheckBox;
  static const PropertyTable<T> properties = {
      {"Value", ReferenceProperty<T, TQorNumber>(&T::SetNumber)},
      {"Condition", EnumProperty(&T::SetCheckCondition, ccEqualTo, ccMaskedBit)},
      {"ConditionValue", DoubleProperty(&T::SetConditionValue)},
      // Read straight into the field, with no other effect.
      {"CheckedValue",
       [](T& t, const PropertyValue& v) { return PropertyAsDouble(v, t.CheckedValue); }},
      {"UncheckedValue",
       [](T& t, const PropertyValue& v) { return PropertyAsDouble(v, t.UncheckedValue); }},
      {"Caption", [](T& t, const PropertyValue& v) {
         QString text;
         if (!PropertyAsText(v, text)) return false;
         t.setText(text);
         return true;
       }},
      {"Checked", BoolProperty<T>(&T::setChecked)},
      // Right: the text stands right of the box, as usual; left puts it before the box.
      {"Alignment", [](T& t, const PropertyValue& v) {
         int a = 0;
         if (!PropertyAsInt(v, a) || a < taLeftJustify || a > taRightJustify) return false;
         t.setLayoutDirection(a == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
         return true;
       }},
      {"OnClick", EventProperty(&T::OnClick)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  if (auto taken = ApplyWidgetProperty(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
