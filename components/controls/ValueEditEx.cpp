#include "components/controls/ValueEditEx.h"

#include <QApplication>
#include <QKeyEvent>

#include "components/comm/SerialLink.h"
#include "components/controls/ChildLabel.h"
#include "components/controls/FocusChain.h"
#include "components/controls/ItemBinding.h"
#include "components/controls/NumberTyping.h"
#include "components/controls/Resizer.h"
#include "components/controls/TypedKey.h"
#include "components/controls/WidgetProperties.h"

namespace vzt {

namespace {

constexpr int kCreatedWidth = 96;

}  // namespace

TValueEditEx::TValueEditEx(Component* owner, QWidget* parent) : Base(owner, parent) {
  parts_.label = new TChildLabel(this, this, this);
  // Text reaches the box only through the filter: no paste from a menu, no drops, no input
  // method composing.
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setAlignment(HorizontalAlignment(alignment_) | Qt::AlignVCenter);
  setText(QStringLiteral("0"));
  resize(kCreatedWidth, height());
  AdjustHeight();
  parts_.resizer = new TResizer(this, this);
  connect(this, &QLineEdit::textChanged, [this] {
    if (OnChange) OnChange(this);
  });
  parts_.FollowLabel();
}

TValueEditEx::~TValueEditEx() {
  SetNextControl(nullptr);
  SetPrevControl(nullptr);
  Unbind(*this, item_);
  // The resizer and the caption label go while the box is still whole.
  DestroyComponents();
}

// ---------------------------------------------------------------- references

void TValueEditEx::SetNumber(TQorNumber* item) { Rebind(*this, item_, item); }

void TValueEditEx::SetNextControl(QWidget* control) { neighbours_.SetNext(control, item_); }

void TValueEditEx::SetPrevControl(QWidget* control) { neighbours_.SetPrev(control, item_); }

void TValueEditEx::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove && component) {
    if (component == item_) item_ = nullptr;
    neighbours_.Forget(component);
  }
  Base::Notification(component, operation);
}

void TValueEditEx::Loaded() {
  Base::Loaded();
}

// ---------------------------------------------------------------- value

void TValueEditEx::ShowValue(double value) { setText(NumberToText(value)); }

void TValueEditEx::ShowItemValue() {
  if (item_) ShowValue(item_->GetDouble());
}

bool TValueEditEx::InitData() {
  return InitFromItem(item_, [this](double value) { ShowValue(value); });
}

bool TValueEditEx::AcquireValue() {
  if (!item_) return false;
  const std::optional<double> typed = TextToNumber(text());
  if (!typed) {
    double kept = 0;
    item_->GetData(&kept);
    ShowValue(kept);
    return false;
  }
  // On success the item's data message shows the value as the item now holds it.
  return item_->SetData(*typed);
}

void TValueEditEx::CommitByEnter() {
  if (AcquireValue()) {
    FocusNextControl();
    return;
  }
  ErrorSound();
  ShowItemValue();
  selectAll();
}

void TValueEditEx::ErrorSound() { QApplication::beep(); }

// ---------------------------------------------------------------- data messages

void TValueEditEx::DataArrived() {
  ShowItemValue();
  RefreshDataDefinitionAspect(true);
  data_defined_ = true;
}

LParam TValueEditEx::Perform(unsigned msg, WParam wparam, LParam lparam) {
  if (TakeDataMessage(item_, msg, wparam)) {
    DataArrived();
  } else if (msg == MSG_COM_ERROR && (lparam & LINK_STATUS_NOT_DEFINED) != 0) {
    RefreshDataDefinitionAspect(false);
    data_defined_ = false;
  }
  return 0;
}

void TValueEditEx::RefreshDataDefinitionAspect(bool defined) {
  if (IsDesigning()) return;
  // A box without a parent would show as a window of its own.
  const bool canShow = parentWidget() != nullptr;
  switch (aspect_) {
    case ddInvisible:
      if (canShow || !defined) setVisible(defined);
      setEnabled(true);
      break;
    case ddDisabled:
      if (canShow) setVisible(true);
      setEnabled(defined);
      break;
    case ddNone:
      break;
  }
}

void TValueEditEx::SetDataDefAspect(TDataDefinedAspect aspect) {
  if (aspect == aspect_) return;
  if (aspect == ddNone) {
    // Leave the box visible and enabled, as it is without an aspect.
    RefreshDataDefinitionAspect(true);
    aspect_ = ddNone;
    return;
  }
  aspect_ = aspect;
  RefreshDataDefinitionAspect(data_defined_);
}

// ---------------------------------------------------------------- keys

void TValueEditEx::keyPressEvent(QKeyEvent* event) {
  const bool ordinary = KeyDown(*event);
  const char16_t typed = TypedCharacter(*event);
  event->accept();
  if (typed != 0) {
    KeyPress(typed, *event);
    return;
  }
  if (ordinary && !IsClipboardOrUndoKey(*event)) QLineEdit::keyPressEvent(event);
}

// Escape, Up and Down first; the owner's OnKeyDown runs afterwards and sees 0 for a key the
// box consumed. False when the key gets no ordinary handling any more.
bool TValueEditEx::KeyDown(QKeyEvent& event) {
  bool consumed = false;
  switch (event.key()) {
    case Qt::Key_Escape:
      ShowItemValue();
      selectAll();
      break;
    case Qt::Key_Up:
      if (ArrowMoveFocus) {
        FocusPrevControl();
        consumed = true;
      }
      break;
    case Qt::Key_Down:
      if (ArrowMoveFocus) {
        FocusNextControl();
        consumed = true;
      }
      break;
    default:
      break;
  }
  int key = consumed ? 0 : event.key();
  if (OnKeyDown) OnKeyDown(this, key, event.modifiers());
  return key != 0;
}

void TValueEditEx::KeyPress(char16_t c, QKeyEvent& event) {
  if (c == kCarriageReturn) {
    CommitByEnter();
    return;
  }
  if (!AcceptsCharacter(c)) return;
  if (OnKeyPress) OnKeyPress(this, c);
  if (c == 0) return;
  if (c == kBackspace && event.key() == Qt::Key_Backspace)
    QLineEdit::keyPressEvent(&event);
  else if (c == kBackspace)
    backspace();
  else
    insert(QString(QChar(c)));
}

bool TValueEditEx::AcceptsCharacter(char16_t& c) const {
  if (IsAsciiDigit(c) || c == kBackspace) return true;
  const char16_t separator = DecimalSeparatorChar();
  if (c == u'.' || c == u',') {
    c = separator;
    if (TextContains(*this, separator) && !SelectionContains(*this, separator)) return false;
  }
  if (item_) {
    if (c == separator) return AcceptsSeparator();
    return c == u'-' && AcceptsMinus();
  }
  return c == separator || (c == u'-' && SelectionStart(*this) == 0);
}

bool TValueEditEx::AcceptsSeparator() const { return StepAllowsDecimals(item_->Precision()); }

bool TValueEditEx::AcceptsMinus() const {
  const double low = item_->ValueMin(), high = item_->ValueMax();
  const bool negativeAllowed = low < 0 || (low == 0 && high == 0);
  return SelectionStart(*this) == 0 && negativeAllowed &&
         (!TextContains(*this, u'-') || SelectionContains(*this, u'-'));
}

// ---------------------------------------------------------------- focus

void TValueEditEx::FocusAlongChain(QWidget* target, bool next) {
  if (GiveFocus(target)) return;
  // As Tab or Shift+Tab would: the next tab stop of this box's window.
  focusNextPrevChild(next);
}

void TValueEditEx::FocusNextControl() { FocusAlongChain(neighbours_.Next(), true); }

void TValueEditEx::FocusPrevControl() { FocusAlongChain(neighbours_.Prev(), false); }

void TValueEditEx::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (!visit_.Enters(event->reason())) return;
  if (OnEnter) OnEnter(this);
  selectAll();
}

void TValueEditEx::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (!visit_.Leaves(event->reason())) return;
  // Validation discards what was typed but not confirmed; without it leaving commits.
  if (Validation && item_)
    ShowItemValue();
  else
    AcquireValue();
  if (OnExit) OnExit(this);
}

// ---------------------------------------------------------------- look and place

void TValueEditEx::SetTextAlignment(TAlignment alignment) {
  alignment_ = alignment;
  setAlignment(HorizontalAlignment(alignment) | Qt::AlignVCenter);
}

void TValueEditEx::AdjustHeight() { resize(width(), sizeHint().height()); }

void TValueEditEx::SetAutoSize(bool on) {
  if (on == auto_size_) return;
  auto_size_ = on;
  UpdateHeight();
}

void TValueEditEx::UpdateHeight() {
  if (auto_size_ && hasFrame()) {
    setFixedHeight(sizeHint().height());
  } else {
    setMinimumHeight(0);
    setMaximumHeight(QWIDGETSIZE_MAX);
  }
}

void TValueEditEx::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange && auto_size_) UpdateHeight();
}

// ---------------------------------------------------------------- properties

bool TValueEditEx::SetProperty(std::string_view name, const PropertyValue& value) {
  if (auto taken = ApplySubProperty(parts_.label, "EditLabel", name, value)) return *taken;
  if (auto taken = ApplySubProperty(parts_.resizer, "Resizer", name, value)) return *taken;
  using T = TValueEditEx;
  static const PropertyTable<T> properties = {
      {"Value", ReferenceProperty<T, TQorNumber>(&T::SetNumber)},
      {"Validation", [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.Validation); }},
      {"NextControl", WidgetRefProperty(&T::SetNextControl)},
      {"PrevControl", WidgetRefProperty(&T::SetPrevControl)},
      {"ArrowMoveFocus",
       [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.ArrowMoveFocus); }},
      {"DataNotDefinedAspect", EnumProperty(&T::SetDataDefAspect, ddNone, ddDisabled)},
      {"Alignment", EnumProperty(&T::SetTextAlignment, taLeftJustify, taCenter)},
      {"AutoSize", BoolProperty(&T::SetAutoSize)},
      {"Text", [](T& t, const PropertyValue& v) {
         QString text;
         if (!PropertyAsText(v, text)) return false;
         t.setText(text);
         return true;
       }},
      {"ReadOnly", BoolProperty<T>(&T::setReadOnly)},
      {"MaxLength", [](T& t, const PropertyValue& v) {
         int n = 0;
         if (!PropertyAsInt(v, n) || n < 0) return false;
         t.setMaxLength(n == 0 ? 32767 : n);
         return true;
       }},
      {"Parent", WidgetRefProperty(&T::SetParent)},
      {"OnEnter", EventProperty(&T::OnEnter)},
      {"OnExit", EventProperty(&T::OnExit)},
      {"OnChange", EventProperty(&T::OnChange)},
      {"OnKeyDown", EventProperty(&T::OnKeyDown)},
      {"OnKeyPress", EventProperty(&T::OnKeyPress)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  if (auto taken = ApplyWidgetProperty(*this, name, value)) {
    parts_.FollowLabel();
    return *taken;
  }
  return Component::SetProperty(name, value);
}

}  // namespace vzt
