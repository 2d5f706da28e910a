#pragma once

#include <QCheckBox>

#include "components/controls/ControlParts.h"
#include "components/controls/ControlTypes.h"
#include "components/data/SerialData.h"
#include "platform/Messages.h"

namespace vzt {

class TResizer;

// A check box that shows one yes/no condition of a parameter: a comparison of its user
// value with a constant, or a group of its bits. Data never counts as a click; a toggle of
// the user writes at once.
class TQorCheckBox : public QCheckBox, public Component, public MessageTarget {
 public:
  explicit TQorCheckBox(Component* owner = nullptr, QWidget* parent = nullptr);
  ~TQorCheckBox() override;

  TResizer* Resizer() const { return parts_.resizer; }

  TQorNumber* Value() const { return item_; }
  void SetNumber(TQorNumber* item);

  TCheckCondition Condition() const { return condition_; }
  void SetCheckCondition(TCheckCondition condition);
  double ConditionValue() const { return condition_value_; }
  void SetConditionValue(double value);
  double CheckedValue = 1;
  double UncheckedValue = 0;

  // Reads the item afresh and sets the state from it; true at once without an item.
  bool InitData();
  void SetupCheckedState(double value);
  // The user toggled the box: OnClick, then the write.
  void Click();

  TNotifyEvent OnClick;

  LParam Perform(unsigned msg, WParam wparam, LParam lparam) override;
  void Notification(Component* component, Operation operation) override;
  void Loaded() override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 private:
  bool ConditionHolds(double value) const;
  void WriteComparison(double value);
  void WriteMaskedBits(double value);
  void DataArrived();

  ControlParts parts_;
  TQorNumber* item_ = nullptr;
  TCheckCondition condition_ = ccNotEqualTo;
  double condition_value_ = 0;
};

}  // namespace vzt
