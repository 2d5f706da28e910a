#include "platform/NumberText.h"
#include "components/controls/QorComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>

#include "components/controls/ChildLabel.h"
#include "components/controls/FocusChain.h"
#include "components/controls/ItemBinding.h"
#include "components/controls/Resizer.h"
#include "components/controls/TypedKey.h"
#include "components/controls/WidgetProperties.h"

namespace vzt {

namespace {

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

bool WithAlt(const QKeyEvent& event) { return event.modifiers().testFlag(Qt::AltModifier); }

}  // namespace

TQorComboBox::TQorComboBox(Component* owner, QWidget* parent) : Base(owner, parent) {
  parts_.label = new TChildLabel(this, this, this);
  setEditable(false);
  parts_.resizer = new TResizer(this, this);
  // Keys typed while the list is open go to the list's view.
  view()->installEventFilter(this);
  // Only choices of the user count as changes; setting the index from code does not.
  connect(this, &QComboBox::activated, [this](int) { Change(); });
  parts_.FollowLabel();
}

TQorComboBox::~TQorComboBox() {
  view()->removeEventFilter(this);
  SetNextControl(nullptr);
  SetPrevControl(nullptr);
  Unbind(*this, item_);
  DestroyComponents();
}

// ---------------------------------------------------------------- references

void TQorComboBox::SetNumber(TQorNumber* item) { Rebind(*this, item_, item); }

void TQorComboBox::SetNextControl(QWidget* control) { neighbours_.SetNext(control, item_); }

void TQorComboBox::SetPrevControl(QWidget* control) { neighbours_.SetPrev(control, item_); }

void TQorComboBox::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove && component) {
    if (component == item_) item_ = nullptr;
    neighbours_.Forget(component);
  }
  Base::Notification(component, operation);
}

void TQorComboBox::Loaded() {
  Base::Loaded();
}

// ---------------------------------------------------------------- entries and data

void TQorComboBox::SetStyle(TComboStyle style) {
  style_ = style;
  setEditable(style == csDropDown || style == csSimple);
}

void TQorComboBox::SetItemsText(const QString& lines) {
  QStringList entries = lines.split(QLatin1Char('\n'));
  for (QString& entry : entries)
    if (entry.endsWith(QLatin1Char('\r'))) entry.chop(1);
  if (!entries.isEmpty() && entries.back().isEmpty()) entries.pop_back();
  clear();
  addItems(entries);
}

bool TQorComboBox::IsListOpen() const { return view() && view()->isVisible(); }

// An index without an entry leaves the box without a selection.
void TQorComboBox::SelectFromValue(double value) {
  entry_index_ = TruncateToInt(value + 0.5);
  setCurrentIndex(entry_index_);
}

bool TQorComboBox::InitData() {
  return InitFromItem(item_, [this](double value) { SelectFromValue(value); });
}

void TQorComboBox::DataArrived() {
  ShowItemData(item_, [this](double value) { SelectFromValue(value); });
}

LParam TQorComboBox::Perform(unsigned msg, WParam wparam, LParam) {
  if (TakeDataMessage(item_, msg, wparam)) DataArrived();
  return 0;
}

// ---------------------------------------------------------------- choosing

void TQorComboBox::showPopup() {
  pending_ = true;
  QComboBox::showPopup();
}

// A choice of the user. The owner sees the new index first; with the list closed the choice
// is committed at once, as an Enter would.
void TQorComboBox::Change() {
  if (OnChange) OnChange(this);
  if (IsListOpen()) return;
  pending_ = true;
  KeyPress(kCarriageReturn, nullptr);
}

void TQorComboBox::Commit() {
  entry_index_ = currentIndex();
  if (item_ && entry_index_ >= 0) item_->SetData(entry_index_);
}

// Every typed character: Enter commits a pending choice or opens the list; the rest goes to
// the list's own typing (incremental search). `event` is null for the Enter of a change.
void TQorComboBox::KeyPress(char16_t c, QKeyEvent* event) {
  if (c == kCarriageReturn) {
    if (pending_)
      Commit();
    else
      showPopup();
  }
  if (OnKeyPress) OnKeyPress(this, c);
  if (event && c != 0 && c != kCarriageReturn) QComboBox::keyPressEvent(event);
  pending_ = IsListOpen();
}

void TQorComboBox::keyPressEvent(QKeyEvent* event) {
  const bool ordinary = KeyDownClosed(*event);
  const char16_t typed = TypedCharacter(*event);
  if (typed != 0) {
    event->accept();
    KeyPress(typed, event);
    return;
  }
  if (!ordinary) {
    event->accept();
    return;
  }
  QComboBox::keyPressEvent(event);
}

// Keys of the closed list, before the owner's OnKeyDown. False when the key gets no ordinary
// handling any more.
bool TQorComboBox::KeyDownClosed(QKeyEvent& event) {
  bool consumed = false;
  switch (event.key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Left:
    case Qt::Key_Right:
      consumed = true;
      break;
    case Qt::Key_Up:
      if (ArrowMoveFocus && !WithAlt(event)) {
        FocusPrevControl();
        consumed = true;
      }
      break;
    case Qt::Key_Down:
      // Alt+Down opens the list.
      if (ArrowMoveFocus && !WithAlt(event)) {
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

bool TQorComboBox::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == view() && type == QEvent::FocusOut && IsListOpen()) {
    // The focus went from the open list to another control: the box was left.
    QWidget* to = QApplication::focusWidget();
    if (to && to != this && !IsOwnList(to) &&
        visit_.Leaves(static_cast<QFocusEvent*>(event)->reason()))
      Leave();
  }
  if (watched == view() && IsListOpen() &&
      (type == QEvent::KeyPress || type == QEvent::ShortcutOverride)) {
    // The list's own handling of these keys runs as a shortcut override; claim them first.
    if (OpenListKey(static_cast<QKeyEvent&>(*event), type == QEvent::KeyPress)) {
      event->accept();
      return true;
    }
  }
  return QComboBox::eventFilter(watched, event);
}

// Keys of the open list. `act` is false for the shortcut override, which only asks whether
// the box takes the key.
bool TQorComboBox::OpenListKey(QKeyEvent& event, bool act) {
  const int row = view()->currentIndex().row();
  const int last = count() - 1;
  bool consumed = false;
  int wrapTo = -1;
  switch (event.key()) {
    case Qt::Key_Escape:
    case Qt::Key_Left:
    case Qt::Key_Right:
      consumed = true;
      break;
    case Qt::Key_Up:
      if (!WithAlt(event) && last >= 0 && row <= 0) {
        consumed = true;
        wrapTo = last;
      }
      break;
    case Qt::Key_Down:
      if (!WithAlt(event) && last >= 0 && row == last) {
        consumed = true;
        wrapTo = 0;
      }
      break;
    default:
      break;
  }
  const bool enter = IsEnterKey(event.key());
  if (!act) return consumed || enter;

  if (event.key() == Qt::Key_Escape) CloseListRestoring();
  // The wrap-around only moves the highlight; Enter commits it like any other.
  if (wrapTo >= 0) view()->setCurrentIndex(model()->index(wrapTo, modelColumn(), rootModelIndex()));
  int key = consumed ? 0 : event.key();
  if (OnKeyDown) OnKeyDown(this, key, event.modifiers());
  if (enter) CommitOpenList();
  return consumed || enter;
}

void TQorComboBox::CommitOpenList() {
  const int row = view()->currentIndex().row();
  hidePopup();
  if (row >= 0 && row != currentIndex()) {
    setCurrentIndex(row);
    Change();
    return;
  }
  pending_ = true;
  KeyPress(kCarriageReturn, nullptr);
}

void TQorComboBox::CloseListRestoring() {
  hidePopup();
  pending_ = false;
  setCurrentIndex(entry_index_);
}

// ---------------------------------------------------------------- focus

void TQorComboBox::FocusAlongChain(QWidget* target, bool next) {
  if (GiveFocus(target)) return;
  focusNextPrevChild(next);
}

void TQorComboBox::FocusNextControl() { FocusAlongChain(neighbours_.Next(), true); }

void TQorComboBox::FocusPrevControl() { FocusAlongChain(neighbours_.Prev(), false); }

void TQorComboBox::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  if (!visit_.Enters(event->reason())) return;
  pending_ = false;
  entry_index_ = currentIndex();
  if (OnEnter) OnEnter(this);
}

// The open list takes the focus from the box; that is no leaving.
void TQorComboBox::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  if (IsOwnList(QApplication::focusWidget()) || !visit_.Leaves(event->reason())) return;
  Leave();
}

// Leaving closes the list and writes nothing.
void TQorComboBox::Leave() {
  if (IsListOpen()) hidePopup();
  if (OnExit) OnExit(this);
}

bool TQorComboBox::IsOwnList(const QWidget* widget) const {
  return widget && view() && (widget == view() || widget->window() == view()->window());
}

// ---------------------------------------------------------------- properties

bool TQorComboBox::SetProperty(std::string_view name, const PropertyValue& value) {
  if (auto taken = ApplySubProperty(parts_.label, "ComboLabel", name, value)) return *taken;
  if (auto taken = ApplySubProperty(parts_.resizer, "Resizer", name, value)) return *taken;
  using T = TQorComboBox;
  static const PropertyTable<T> properties = {
      {"Value", ReferenceProperty<T, TQorNumber>(&T::SetNumber)},
      {"NextControl", WidgetRefProperty(&T::SetNextControl)},
      {"PrevControl", WidgetRefProperty(&T::SetPrevControl)},
      {"ArrowMoveFocus",
       [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.ArrowMoveFocus); }},
      {"Style", EnumProperty(&T::SetStyle, csDropDown, csOwnerDrawVariable)},
      {"Items", [](T& t, const PropertyValue& v) {
         QString lines;
         if (!PropertyAsText(v, lines)) return false;
         t.SetItemsText(lines);
         return true;
       }},
      {"ItemIndex", IntProperty<T, int>(&T::setCurrentIndex)},
      {"DropDownCount", [](T& t, const PropertyValue& v) {
         int n = 0;
         if (!PropertyAsInt(v, n) || n < 1) return false;
         t.setMaxVisibleItems(n);
         return true;
       }},
      {"Parent", WidgetRefProperty(&T::SetParent)},
      {"OnChange", EventProperty(&T::OnChange)},
      {"OnEnter", EventProperty(&T::OnEnter)},
      {"OnExit", EventProperty(&T::OnExit)},
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
