#include "components/controls/NumericEdit.h"

#include <QKeyEvent>

#include <algorithm>
#include <cmath>
#include <vector>

#include "components/controls/FocusChain.h"
#include "components/controls/NumberTyping.h"
#include "components/controls/TypedKey.h"
#include "components/controls/WidgetProperties.h"

namespace vzt {

namespace {

constexpr int kLowestLevel = 0;
constexpr int kHighestLevel = 100;

}  // namespace

TNumericEdit::TNumericEdit(Component* owner, QWidget* parent) : QLineEdit(parent), Component(owner) {
  // Text reaches the box only through the filter.
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setText(QStringLiteral("0"));
  connect(this, &QLineEdit::textChanged, [this] {
    if (OnChange) OnChange(this);
  });
}

TNumericEdit::~TNumericEdit() {
  SetNextControl(nullptr);
  SetPrevControl(nullptr);
}

// ---------------------------------------------------------------- value

bool TNumericEdit::LimitsActive() const {
  return !DisableLimit && (min_value_ != 0 || max_value_ != 0);
}

double TNumericEdit::Limited(double value) const {
  if (!LimitsActive()) return value;
  if (value > max_value_) value = max_value_;
  if (value < min_value_) value = min_value_;
  return value;
}

// To the nearer step; halfway goes up.
double TNumericEdit::Rounded(double value) const {
  if (precision_ == 0) return value;
  const double down = std::floor(value / precision_) * precision_;
  const double up = std::ceil(value / precision_) * precision_;
  return value - down < up - value ? down : up;
}

double TNumericEdit::GetDouble() const {
  return Rounded(Limited(TextToNumber(text()).value_or(last_value_)));
}

// A limit is shown as it stands, unrounded.
void TNumericEdit::SetDouble(double value) {
  if (LimitsActive() && value < min_value_)
    value = min_value_;
  else if (LimitsActive() && value > max_value_)
    value = max_value_;
  else
    value = Rounded(value);
  setText(NumberToText(value));
  last_value_ = value;
}

double TNumericEdit::GetLimit(int index) const { return index == 1 ? max_value_ : min_value_; }

void TNumericEdit::SetLimit(int index, double value) {
  if (index == 1) {
    if (value >= min_value_) max_value_ = value;
  } else if (value <= max_value_) {
    min_value_ = value;
  }
}

void TNumericEdit::SetVisibilityLevel(int level) {
  if (level >= kLowestLevel && level <= kHighestLevel) visibility_level_ = level;
}

// ---------------------------------------------------------------- chain

void TNumericEdit::SetNextControl(QWidget* control) { neighbours_.SetNext(control); }

void TNumericEdit::SetPrevControl(QWidget* control) { neighbours_.SetPrev(control); }

void TNumericEdit::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove) neighbours_.Forget(component);
  Component::Notification(component, operation);
}

QWidget* TNumericEdit::FollowChain(bool next) const {
  std::vector<const TNumericEdit*> asked{this};
  const TNumericEdit* box = this;
  for (;;) {
    QWidget* candidate = next ? box->neighbours_.Next() : box->neighbours_.Prev();
    if (!candidate) return nullptr;
    if (CanTakeFocus(candidate)) return candidate;
    const auto* numeric = dynamic_cast<const TNumericEdit*>(candidate);
    if (!numeric) return nullptr;
    // A loop of boxes none of which can take the focus has no target.
    if (std::find(asked.begin(), asked.end(), numeric) != asked.end()) return nullptr;
    asked.push_back(numeric);
    box = numeric;
  }
}

QWidget* TNumericEdit::GetNextControl() const { return FollowChain(true); }

QWidget* TNumericEdit::GetPrevControl() const { return FollowChain(false); }

// ---------------------------------------------------------------- keys

void TNumericEdit::keyPressEvent(QKeyEvent* event) {
  const bool ordinary = KeyDown(*event);
  const char16_t typed = TypedCharacter(*event);
  event->accept();
  if (typed != 0) {
    KeyPress(typed, *event);
    return;
  }
  if (ordinary && !IsClipboardOrUndoKey(*event)) QLineEdit::keyPressEvent(event);
}

// Escape, Up and Down first; every other key, Enter included, reaches the owner's OnKeyDown
// unchanged, so for Enter it runs before the text is normalised.
bool TNumericEdit::KeyDown(QKeyEvent& event) {
  bool consumed = false;
  switch (event.key()) {
    case Qt::Key_Escape:
      SetDouble(last_value_);
      selectAll();
      break;
    case Qt::Key_Up:
      GiveFocus(GetPrevControl());
      consumed = true;
      break;
    case Qt::Key_Down:
      GiveFocus(GetNextControl());
      consumed = true;
      break;
    default:
      break;
  }
  int key = consumed ? 0 : event.key();
  if (OnKeyDown) OnKeyDown(this, key, event.modifiers());
  return key != 0;
}

void TNumericEdit::KeyPress(char16_t c, QKeyEvent& event) {
  if (c == kCarriageReturn) {
    ConfirmByEnter();
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

// Only the regional separator counts; the other of '.' and ',' is not translated.
bool TNumericEdit::AcceptsCharacter(char16_t c) const {
  if (IsAsciiDigit(c) || c == kBackspace) return true;
  const char16_t separator = DecimalSeparatorChar();
  if (c == separator)
    return StepAllowsDecimals(precision_) &&
           (!TextContains(*this, separator) || SelectionContains(*this, separator));
  if (c == u'-') {
    const bool negativeAllowed =
        DisableLimit || min_value_ < 0 || (min_value_ == 0 && max_value_ == 0);
    return SelectionStart(*this) == 0 && negativeAllowed &&
           (!TextContains(*this, u'-') || SelectionContains(*this, u'-'));
  }
  return false;
}

void TNumericEdit::ConfirmByEnter() {
  last_value_ = GetDouble();
  setText(NumberToText(last_value_));
  char16_t key = kCarriageReturn;
  if (OnKeyPress) OnKeyPress(this, key);
  if (QWidget* target = GetNextControl())
    GiveFocus(target);
  else
    selectAll();
}

// ---------------------------------------------------------------- focus

void TNumericEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  if (!visit_.Enters(event->reason())) return;
  if (const auto typed = TextToNumber(text())) last_value_ = *typed;
  SetDouble(last_value_);
  if (event->reason() != Qt::MouseFocusReason) selectAll();
  if (OnEnter) OnEnter(this);
}

void TNumericEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (!visit_.Leaves(event->reason())) return;
  if (Validation) {
    SetDouble(last_value_);
  } else {
    last_value_ = GetDouble();
    setText(NumberToText(last_value_));
  }
  if (OnExit) OnExit(this);
}

// ---------------------------------------------------------------- properties

bool TNumericEdit::SetProperty(std::string_view name, const PropertyValue& value) {
  using T = TNumericEdit;
  static const PropertyTable<T> properties = {
      {"Precision", DoubleProperty(&T::SetPrecision)},
      {"MaxValue", DoubleProperty(&T::SetMaxValue)},
      {"MinValue", DoubleProperty(&T::SetMinValue)},
      {"Validation", [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.Validation); }},
      {"DisableLimit",
       [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.DisableLimit); }},
      {"DataCode", [](T& t, const PropertyValue& v) { return PropertyAsInt(v, t.DataCode); }},
      {"DataIndex", [](T& t, const PropertyValue& v) { return PropertyAsInt(v, t.DataIndex); }},
      {"PrevControl", WidgetRefProperty(&T::SetPrevControl)},
      {"NextControl", WidgetRefProperty(&T::SetNextControl)},
      {"VisibilityLevel", IntProperty(&T::SetVisibilityLevel)},
      {"Text", [](T& t, const PropertyValue& v) {
         QString text;
         if (!PropertyAsText(v, text)) return false;
         t.setText(text);
         return true;
       }},
      {"OnEnter", EventProperty(&T::OnEnter)},
      {"OnExit", EventProperty(&T::OnExit)},
      {"OnChange", EventProperty(&T::OnChange)},
      {"OnKeyDown", EventProperty(&T::OnKeyDown)},
      {"OnKeyPress", EventProperty(&T::OnKeyPress)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  if (auto taken = ApplyWidgetProperty(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
