#pragma once

#include <QLineEdit>

#include "components/controls/CaptionedControl.h"
#include "components/controls/ControlTypes.h"
#include "components/controls/FocusNeighbours.h"
#include "components/controls/FocusVisit.h"
#include "components/data/SerialData.h"
#include "platform/Messages.h"

namespace vzt {

class TChildLabel;
class TResizer;

// The edit box through which the installer reads and changes one numeric parameter. It
// shows the bound item's user value, lets only a well-formed number be typed, writes on
// Enter (the error sound when the write fails), moves the focus along an explicit chain, and
// can hide or disable itself while the controller does not define its data. It carries a
// caption label and a resizer.
class TValueEditEx : public TCaptionedControl<QLineEdit>, public MessageTarget {
  using Base = TCaptionedControl<QLineEdit>;

 public:
  explicit TValueEditEx(Component* owner = nullptr, QWidget* parent = nullptr);
  ~TValueEditEx() override;

  TChildLabel* EditLabel() const { return parts_.label; }

  TQorNumber* Value() const { return item_; }
  void SetNumber(TQorNumber* item);

  bool Validation = true;
  bool ArrowMoveFocus = true;

  QWidget* NextControl() const { return neighbours_.Next(); }
  void SetNextControl(QWidget* control);
  QWidget* PrevControl() const { return neighbours_.Prev(); }
  void SetPrevControl(QWidget* control);

  TDataDefinedAspect DataNotDefinedAspect() const { return aspect_; }
  void SetDataDefAspect(TDataDefinedAspect aspect);
  void RefreshDataDefinitionAspect(bool defined);
  bool DataDefined() const { return data_defined_; }

  TAlignment TextAlignment() const { return alignment_; }
  void SetTextAlignment(TAlignment alignment);

  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool on);
  // The height a one-line edit of the current font has.
  void AdjustHeight();
  void UpdateHeight();


  // Reads the item afresh and shows its value; true at once without an item.
  bool InitData();
  // The commit step of Enter: writes the text through the item.
  bool AcquireValue();
  void FocusNextControl();
  void FocusPrevControl();

  TNotifyEvent OnEnter, OnExit, OnChange;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;

  LParam Perform(unsigned msg, WParam wparam, LParam lparam) override;
  void Notification(Component* component, Operation operation) override;
  void Loaded() override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 protected:
  // The system's error sound; a seam for tests.
  virtual void ErrorSound();

  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool KeyDown(QKeyEvent& event);
  void KeyPress(char16_t c, QKeyEvent& event);
  bool AcceptsCharacter(char16_t& c) const;
  bool AcceptsSeparator() const;
  bool AcceptsMinus() const;
  void CommitByEnter();
  void ShowValue(double value);
  void ShowItemValue();
  void DataArrived();
  void FocusAlongChain(QWidget* target, bool next);

  TQorNumber* item_ = nullptr;
  FocusNeighbours neighbours_{*this};
  TDataDefinedAspect aspect_ = ddNone;
  bool data_defined_ = true;
  TAlignment alignment_ = taRightJustify;
  bool auto_size_ = false;
  FocusVisit visit_;
};

}  // namespace vzt
