#pragma once

#include <QAbstractButton>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <type_traits>

#include "components/controls/ControlTypes.h"
#include "components/controls/WidgetProperties.h"
#include "components/data/SerialData.h"
#include "platform/Component.h"
#include "platform/widgets/ProgressFill.h"

namespace vzt {

// How a frame, a bevel or a bordered text is drawn.
enum TFrameKind : int {
  fkNone = 0,
  fkBox = 1,             // a single line round the box
  fkLowered = 2,         // a sunken panel
  fkRaised = 3,          // a raised panel
  fkVerticalLine = 4,    // a sunken line down the middle
  fkHorizontalLine = 5,  // a sunken line across the middle
};

// A plain Qt widget that a window's resource can create and set up like the bound controls:
// a label, a push button, a frame or a progress fill. Besides the properties every control
// shares it takes those its kind has: Caption, Alignment and AutoSize for labels and buttons,
// Frame for frames, FillColor and Position for progress fills, OnClick for buttons.
template <class Widget>
class TPlainControl : public Widget, public Component {
  static constexpr bool kIsLabel = std::is_base_of_v<QLabel, Widget>;
  static constexpr bool kIsButton = std::is_base_of_v<QAbstractButton, Widget>;
  static constexpr bool kIsFrame = std::is_base_of_v<QFrame, Widget>;
  static constexpr bool kIsFill = std::is_base_of_v<ProgressFill, Widget>;

 public:
  explicit TPlainControl(Component* owner = nullptr) : Widget(nullptr), Component(owner) {
    if constexpr (kIsButton)
      QObject::connect(this, &QAbstractButton::clicked, [this] {
        if (OnClick) OnClick(this);
      });
  }
  ~TPlainControl() override { DestroyComponents(); }

  TNotifyEvent OnClick;

  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool on) {
    auto_size_ = on;
    FitText();
  }
  void SetCaption(const QString& caption) {
    if constexpr (kIsLabel || kIsButton) {
      this->setText(caption);
      FitText();
    }
  }

  bool SetProperty(std::string_view name, const PropertyValue& value) override {
    if (auto taken = OwnProperty(name, value)) return *taken;
    if (auto taken = ApplyWidgetProperty(*this, name, value)) return *taken;
    return Component::SetProperty(name, value);
  }

 protected:
  void changeEvent(QEvent* event) override {
    Widget::changeEvent(event);
    if (event->type() == QEvent::FontChange) FitText();
  }

 private:
  void FitText() {
    if constexpr (kIsLabel)
      if (auto_size_) this->adjustSize();
  }

  std::optional<bool> OwnProperty(std::string_view name, const PropertyValue& value) {
    QString text;
    int number = 0;
    if (name == "Caption" && (kIsLabel || kIsButton)) {
      if (!PropertyAsText(value, text)) return false;
      SetCaption(text);
      return true;
    }
    if (name == "AutoSize" && kIsLabel) return PropertyAsBool(value, auto_size_) && (FitText(), true);
    if constexpr (kIsLabel) {
      if (name == "Alignment") {
        if (!PropertyAsInt(value, number) || number < taLeftJustify || number > taCenter) return false;
        this->setAlignment(HorizontalAlignment(static_cast<TAlignment>(number)) | Qt::AlignVCenter);
        return true;
      }
    }
    if constexpr (kIsFrame) {
      if (name == "Frame") return PropertyAsInt(value, number) && SetFrame(number);
    }
    if constexpr (kIsFill) {
      QColor color;
      if (name == "FillColor") {
        if (!PropertyAsColor(value, *this, color)) return false;
        this->SetSolidFill(color);
        return true;
      }
      if (name == "Position") return PropertyAsInt(value, number) && (this->SetPosition(number), true);
    }
    if constexpr (kIsButton) {
      if (name == "OnClick") return EventProperty(&TPlainControl::OnClick)(*this, value);
    }
    return std::nullopt;
  }

  bool SetFrame(int kind) {
    switch (kind) {
      case fkNone: this->setFrameStyle(QFrame::NoFrame); return true;
      case fkBox: this->setFrameStyle(QFrame::Box | QFrame::Plain); return true;
      case fkLowered: this->setFrameStyle(QFrame::Panel | QFrame::Sunken); return true;
      case fkRaised: this->setFrameStyle(QFrame::Panel | QFrame::Raised); return true;
      case fkVerticalLine: this->setFrameStyle(QFrame::VLine | QFrame::Sunken); return true;
      case fkHorizontalLine: this->setFrameStyle(QFrame::HLine | QFrame::Sunken); return true;
      default: return false;
    }
  }

  bool auto_size_ = true;
};

using TPlainLabel = TPlainControl<QLabel>;
using TPlainFrame = TPlainControl<QFrame>;
using TPlainButton = TPlainControl<QPushButton>;
using TLamp = TPlainControl<ProgressFill>;

}  // namespace vzt
