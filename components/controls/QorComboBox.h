#pragma once

#include <QComboBox>

#include "components/controls/CaptionedControl.h"
#include "components/controls/ControlTypes.h"
#include "components/controls/FocusNeighbours.h"
#include "components/controls/FocusVisit.h"
#include "components/data/SerialData.h"
#include "platform/Messages.h"

namespace vzt {

class TChildLabel;
class TResizer;

// A drop-down list bound to an enumerated parameter: the index of the selected entry is the
// item's user value. A choice made with the list closed (a mouse pick closes it first) is
// written at once; a move inside the open list waits for Enter, and Escape there returns to
// the entry the box had. It carries a focus chain, a caption label and a resizer.
class TQorComboBox : public TCaptionedControl<QComboBox>, public MessageTarget {
  using Base = TCaptionedControl<QComboBox>;

 public:
  explicit TQorComboBox(Component* owner = nullptr, QWidget* parent = nullptr);
  ~TQorComboBox() override;

  TChildLabel* ComboLabel() const { return parts_.label; }

  TQorNumber* Value() const { return item_; }
  void SetNumber(TQorNumber* item);

  bool ArrowMoveFocus = true;
  QWidget* NextControl() const { return neighbours_.Next(); }
  void SetNextControl(QWidget* control);
  QWidget* PrevControl() const { return neighbours_.Prev(); }
  void SetPrevControl(QWidget* control);

  TComboStyle Style() const { return style_; }
  void SetStyle(TComboStyle style);
  // One entry per line.
  void SetItemsText(const QString& lines);

  // The entry Escape in the open list returns to.
  int EntryIndex() const { return entry_index_; }
  bool SelectionPending() const { return pending_; }
  bool IsListOpen() const;

  bool InitData();
  void FocusNextControl();
  void FocusPrevControl();


  // The list opens (mouse, F4, Alt+Down or Enter): Enter will commit what is chosen in it.
  void showPopup() override;

  TNotifyEvent OnChange, OnEnter, OnExit;
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;

  LParam Perform(unsigned msg, WParam wparam, LParam lparam) override;
  void Notification(Component* component, Operation operation) override;
  void Loaded() override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Change();
  void KeyPress(char16_t c, QKeyEvent* event);
  void Commit();
  bool KeyDownClosed(QKeyEvent& event);
  bool OpenListKey(QKeyEvent& event, bool act);
  void CommitOpenList();
  void CloseListRestoring();
  void Leave();
  bool IsOwnList(const QWidget* widget) const;
  void SelectFromValue(double value);
  void DataArrived();
  void FocusAlongChain(QWidget* target, bool next);

  TQorNumber* item_ = nullptr;
  FocusNeighbours neighbours_{*this};
  TComboStyle style_ = csDropDownList;
  int entry_index_ = -1;
  bool pending_ = false;
  FocusVisit visit_;
};

}  // namespace vzt
