#pragma once

#include <QColor>
#include <QLabel>

#include "components/controls/CaptionedControl.h"
#include "components/controls/ControlTypes.h"
#include "components/data/SerialData.h"
#include "platform/Messages.h"

namespace vzt {

class TChildLabel;
class TResizer;

// A label that shows one live value: formatted by a number pattern such as "0.00 V", or, in
// its flag styles, one of two texts in one of two colours after whether the value is zero.
// It takes live-data packet items (and, showing only a fixed text, table items); the
// labeled styles carry a caption label.
class TQorLabel : public TCaptionedControl<QLabel>, public MessageTarget {
  using Base = TCaptionedControl<QLabel>;

 public:
  explicit TQorLabel(Component* owner = nullptr, QWidget* parent = nullptr);
  ~TQorLabel() override;

  TChildLabel* ChildLabel() const { return parts_.label; }

  TQorSerialData* Value() const { return item_; }
  // Items of any other kind than live packet or table items are ignored.
  void SetNumber(TQorSerialData* item);

  TLabelStyle Style() const { return style_; }
  void SetLabelStyle(TLabelStyle style);
  bool State() const { return state_; }
  void SetState(bool on);
  // Index 1 sets the On value, any other index the Off value.
  void SetStatusText(int index, const QString& text);
  void SetStatusColor(int index, const QColor& color);
  QString OnText() const { return on_text_; }
  QString OffText() const { return off_text_; }
  QColor OnColor() const { return on_color_; }
  QColor OffColor() const { return off_color_; }
  QString DataFormat() const { return data_format_; }
  void SetDataFormat(const QString& pattern);
  double ShownValue() const { return shown_value_; }
  // The text shown while a table item is bound.
  QString TableText() const { return table_text_; }

  TAlignment TextAlignment() const { return alignment_; }
  void SetTextAlignment(TAlignment alignment);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool on);

  void UpdateLabelState();

  LParam Perform(unsigned msg, WParam wparam, LParam lparam) override;
  void Notification(Component* component, Operation operation) override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 protected:

 private:
  bool IsFlagStyle() const { return style_ == lsFlag || style_ == lsLabeledFlag; }
  bool IsTableItem() const;
  void ShowText(const QString& text);
  void SetFontColor(const QColor& color);
  void CreateChildLabel();
  void DestroyChildLabel();

  TQorSerialData* item_ = nullptr;
  TLabelStyle style_ = lsLabeledValue;
  QString on_text_ = QStringLiteral("ON");
  QString off_text_ = QStringLiteral("OFF");
  QString table_text_ = QStringLiteral("n.d.");
  QColor on_color_;
  QColor off_color_;
  bool state_ = false;
  double shown_value_ = 0;
  QString data_format_;
  TAlignment alignment_ = taLeftJustify;
  bool auto_size_ = true;
};

}  // namespace vzt
