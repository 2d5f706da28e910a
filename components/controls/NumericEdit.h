#pragma once

#include <QLineEdit>

#include "components/controls/ControlTypes.h"
#include "components/controls/FocusNeighbours.h"
#include "components/controls/FocusVisit.h"
#include "components/data/SerialData.h"

namespace vzt {

// A free numeric field bound to no item: it keeps a number within optional limits, rounds
// it to a step, lets only a number be typed and moves the focus along an explicit chain that
// skips hidden or disabled numeric boxes. Its owner reads the number.
class TNumericEdit : public QLineEdit, public Component {
 public:
  explicit TNumericEdit(Component* owner = nullptr, QWidget* parent = nullptr);
  ~TNumericEdit() override;

  // The value the text stands for, limited and rounded; the last value when the text is no
  // number. Changes neither the text nor the last value.
  double GetDouble() const;
  // Shows a value, limited and rounded, and makes it the last value.
  void SetDouble(double value);
  double LastValue() const { return last_value_; }

  double GetPrecision() const { return precision_; }
  void SetPrecision(double precision) { precision_ = precision; }
  // Index 1 is MaxValue, any other index MinValue. A limit that would cross the other one is
  // refused.
  double GetLimit(int index) const;
  void SetLimit(int index, double value);
  double MinValue() const { return min_value_; }
  void SetMinValue(double value) { SetLimit(2, value); }
  double MaxValue() const { return max_value_; }
  void SetMaxValue(double value) { SetLimit(1, value); }
  bool LimitsActive() const;

  bool Validation = true;
  bool DisableLimit = false;
  int DataCode = -1;
  int DataIndex = -1;
  int VisibilityLevel() const { return visibility_level_; }
  // Levels outside 0..100 are refused.
  void SetVisibilityLevel(int level);

  QWidget* NextControlRef() const { return neighbours_.Next(); }
  QWidget* PrevControlRef() const { return neighbours_.Prev(); }
  void SetNextControl(QWidget* control);
  void SetPrevControl(QWidget* control);
  // The control the focus goes to: the next (previous) control if it can take the focus;
  // past numeric boxes that cannot, their own next (previous); otherwise none. A chain that
  // comes round to a box already asked also gives none.
  QWidget* GetNextControl() const;
  QWidget* GetPrevControl() const;

  TNotifyEvent OnEnter, OnExit, OnChange;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;

  void Notification(Component* component, Operation operation) override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  double Limited(double value) const;
  double Rounded(double value) const;
  bool KeyDown(QKeyEvent& event);
  void KeyPress(char16_t c, QKeyEvent& event);
  bool AcceptsCharacter(char16_t c) const;
  void ConfirmByEnter();
  QWidget* FollowChain(bool next) const;

  double precision_ = 0;
  double min_value_ = 0;
  double max_value_ = 0;
  double last_value_ = 0;
  int visibility_level_ = 90;
  FocusNeighbours neighbours_{*this};
  FocusVisit visit_;
};

}  // namespace vzt
