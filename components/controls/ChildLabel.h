#pragma once

#include <QLabel>
#include <QPointer>

#include "components/controls/ControlTypes.h"
#include "components/data/SerialData.h"

namespace vzt {

// The caption label a control carries: owned by the control, placed beside it by a side, a
// spacing and an alignment, kept in place when the control moves or resizes, shown and
// hidden with it, and passing a click on itself to its focus control.
class TChildLabel : public QLabel, public Component {
 public:
  // `control` is the widget the label sits beside; `owner` owns the label (normally the
  // control itself); `focusControl` takes the focus when the label is clicked (may be null).
  TChildLabel(Component* owner, QWidget* control, QWidget* focusControl);

  QWidget* Control() const { return control_.data(); }
  QWidget* FocusControl() const { return focus_.data(); }

  TLabelPosition LabelPosition() const { return position_; }
  void SetLabelPosition(TLabelPosition position);
  int LabelSpacing() const { return spacing_; }
  void SetLabelSpacing(int pixels);
  TAlignment Alignment() const { return alignment_; }
  void SetLabelAlignment(TAlignment alignment);
  QString Caption() const { return text(); }
  // Use this rather than setText: the label resizes and repositions itself.
  void SetCaption(const QString& caption);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool on);
  // Size changes keep the current left and top.
  void SetWidth(int width);
  void SetHeight(int height);

  // The control's bounds changed: repaint and take the new place.
  void Update();
  // Text, font or auto-size changed: fit the text, then take the place beside the control.
  void AdjustBounds();
  // Takes the control's parent and visibility, then its place beside it.
  void FollowControl();

  TNotifyEvent OnClick;

  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 protected:
  void changeEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Reposition();
  void Click();

  QPointer<QWidget> control_;
  QPointer<QWidget> focus_;
  TLabelPosition position_ = lpLeft;
  int spacing_ = 80;
  TAlignment alignment_ = taLeftJustify;
  bool auto_size_ = true;
};

}  // namespace vzt
