#include "components/controls/Resizer.h"

#include <QMouseEvent>
#include <QWidget>

#include <algorithm>
#include <cstdint>

#include "components/controls/WidgetProperties.h"

namespace vzt {

namespace {

constexpr int kSmallestSide = 6;

// The button-down point as the toolkit packs it: y in the high word, x in the low word.
LParam PackPoint(QPoint p) {
  const auto x = static_cast<std::uint32_t>(p.x()) & 0xFFFFu;
  const auto y = static_cast<std::uint32_t>(p.y()) & 0xFFFFu;
  return static_cast<LParam>((y << 16) | x);
}

bool SetModesProperty(TResizer& resizer, const PropertyValue& value) {
  if (const auto* list = std::get_if<PropertyList>(&value)) {
    TResizingModes modes = 0;
    for (double kind : *list) {
      int n = 0;
      if (!WholeNumberIn(kind, raVertical, raMove, n)) return false;
      modes |= ResizingBit(static_cast<TResizingKind>(n));
    }
    resizer.SetResizingMode(modes);
    return true;
  }
  int bits = 0;
  if (!PropertyAsInt(value, bits) || bits < 0 || bits > 0xF) return false;
  resizer.SetResizingMode(static_cast<TResizingModes>(bits));
  return true;
}

}  // namespace

TResizer::TResizer(Component* owner, QWidget* control) : Component(owner) {
  Component::SetName("Resizer");
  if (control) Attach(control);
}

TResizer::~TResizer() { Detach(); }

void TResizer::Attach(QWidget* control) {
  control_.Reset(control);
  if (Component* c = control_.AsComponent()) FreeNotification(c);
  had_cursor_ = control->testAttribute(Qt::WA_SetCursor);
  saved_cursor_ = control->cursor();
  saved_tracking_ = control->hasMouseTracking();
  control->installEventFilter(this);
  // A widget that is none of our components goes without a notification.
  forget_control_ = connect(control, &QObject::destroyed, this, [this] { ResetState(); });
  anchor_ = control->pos();
}

void TResizer::Detach() {
  QWidget* control = control_.Get();
  if (!control) return;
  control->removeEventFilter(this);
  disconnect(forget_control_);
  RestoreCursor();
  control->setMouseTracking(saved_tracking_);
  Component* old = control_.Reset(nullptr);
  if (old) RemoveFreeNotification(old);
}

void TResizer::SetResizingDistance(int pixels) {
  if (pixels < 0) return;
  const QWidget* control = control_.Get();
  if (control && pixels >= std::min(control->width(), control->height())) return;
  border_ = pixels;
}

void TResizer::SetGridSpacing(int pixels) { grid_ = pixels > 0 ? pixels : 1; }

void TResizer::SetLockControl(bool locked) {
  dragging_ = false;
  locked_ = locked;
  QWidget* control = control_.Get();
  if (!control) return;
  RestoreCursor();
  // Hovering needs the moves without a button.
  control->setMouseTracking(locked ? saved_tracking_ : true);
}

void TResizer::ResetState() {
  dragging_ = false;
  zone_ = zNone;
  locked_ = true;
}

void TResizer::Notification(Component* component, Operation operation) {
  if (operation == Operation::opRemove && control_.Forget(component)) ResetState();
  Component::Notification(component, operation);
}

void TResizer::Loaded() {
  Component::Loaded();
  ResetState();
}

// ---------------------------------------------------------------- the filter

bool TResizer::eventFilter(QObject* watched, QEvent* event) {
  if (locked_ || watched != control_.Get()) return false;
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
      type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
    return false;
  const auto& mouse = static_cast<const QMouseEvent&>(*event);
  if (type == QEvent::MouseMove) {
    MouseMove(mouse.position().toPoint());
    return true;
  }
  if (mouse.button() != Qt::LeftButton) return false;
  switch (type) {
    case QEvent::MouseButtonPress:
      MouseDown(mouse.position().toPoint());
      return true;
    case QEvent::MouseButtonRelease:
      MouseUp();
      return true;
    default:
      return MouseDblClick();
  }
}

void TResizer::MouseMove(QPoint p) {
  if (dragging_)
    Drag(p);
  else
    Hover(p);
}

void TResizer::MouseDown(QPoint p) {
  // While the button is down Qt sends every mouse event to this control.
  if (modes_ == 0) return;
  anchor_ = p;
  dragging_ = true;
  if (zone_ != zNone) SendToControl(MSG_START_RESIZING, static_cast<WParam>(zone_), PackPoint(p));
}

void TResizer::MouseUp() {
  SendToControl(MSG_END_RESIZING, 0, 0);
  zone_ = zNone;
  dragging_ = false;
  RestoreCursor();
}

bool TResizer::MouseDblClick() {
  if (!FixDblClick) return false;
  SetLockControl(true);
  return true;
}

void TResizer::Hover(QPoint p) {
  const QWidget* control = control_.Get();
  if (!control) return;
  const int b = border_, w = control->width(), h = control->height();
  const bool left = p.x() < b, right = p.x() > w - b, top = p.y() < b, bottom = p.y() > h - b;
  const bool corner = Allows(raCorner), move = Allows(raMove);
  const bool horizontal = Allows(raHorizontal), vertical = Allows(raVertical);
  struct Rule {
    bool applies;
    Zone zone;
    Qt::CursorShape cursor;
  };
  const Rule rules[] = {
      {corner && left && top && move, zTopLeft, Qt::SizeFDiagCursor},
      {corner && right && bottom, zBottomRight, Qt::SizeFDiagCursor},
      {corner && left && bottom && move, zBottomLeft, Qt::SizeBDiagCursor},
      {corner && right && top && move, zTopRight, Qt::SizeBDiagCursor},
      {horizontal && left && move, zLeft, Qt::SizeHorCursor},
      {horizontal && right, zRight, Qt::SizeHorCursor},
      {vertical && top && move, zTop, Qt::SizeVerCursor},
      {vertical && bottom, zBottom, Qt::SizeVerCursor},
      {move, zMove, Qt::SizeAllCursor},
  };
  for (const Rule& rule : rules) {
    if (!rule.applies) continue;
    zone_ = rule.zone;
    ShowCursor(rule.cursor);
    return;
  }
  zone_ = zNone;
  RestoreCursor();
}

// An edge that moves the control's origin keeps the anchor (the client coordinates move
// with the control); the others advance it by what was applied, so that the rest below one
// grid step carries over to the next move.
void TResizer::Drag(QPoint p) {
  const QWidget* control = control_.Get();
  if (!control) return;
  const int ax = anchor_.x(), ay = anchor_.y(), x = p.x(), y = p.y();
  switch (zone_) {
    case zTop: DoResize(0, false, ay - y, true); break;
    case zBottom:
      DoResize(0, false, y - ay, false);
      anchor_.ry() += Snap(y - ay);
      break;
    case zLeft: DoResize(ax - x, true, 0, false); break;
    case zRight:
      DoResize(x - ax, false, 0, false);
      anchor_.rx() += Snap(x - ax);
      break;
    case zTopLeft: DoResize(ax - x, true, ay - y, true); break;
    case zBottomLeft:
      DoResize(ax - x, true, y - ay, false);
      anchor_.ry() += Snap(y - ay);
      break;
    case zBottomRight:
      DoResize(x - ax, false, y - ay, false);
      anchor_.rx() += Snap(x - ax);
      anchor_.ry() += Snap(y - ay);
      break;
    case zTopRight:
      DoResize(x - ax, false, ay - y, true);
      anchor_.rx() += Snap(x - ax);
      break;
    case zMove:
      DoMove(std::max(0, Snap(control->x() - (ax - x))), std::max(0, Snap(control->y() - (ay - y))));
      break;
    default: break;
  }
}

void TResizer::DoMove(int x, int y) {
  if (OnMove) OnMove(this, x, y);
  if (QWidget* control = control_.Get()) control->move(x, y);
}

void TResizer::DoResize(int dx, bool fromLeft, int dy, bool fromTop) {
  QWidget* control = control_.Get();
  if (!control) return;
  int left = control->x(), top = control->y(), width = control->width(), height = control->height();
  if (OnResize) OnResize(this, dx, dy);
  dx = Snap(dx);
  dy = Snap(dy);
  // An edge that would push the origin below 0 stops there and leaves the size alone.
  auto apply = [](bool fromStart, int delta, int& start, int& size) {
    if (fromStart) {
      start -= delta;
      if (start < 0)
        start = 0;
      else
        size += delta;
    } else {
      size += delta;
    }
    size = std::max(size, kSmallestSide);
  };
  apply(fromLeft, dx, left, width);
  apply(fromTop, dy, top, height);
  if (width != control->width()) control->resize(width, control->height());
  if (height != control->height()) control->resize(control->width(), height);
  if (top != control->y()) control->move(control->x(), top);
  if (left != control->x()) control->move(left, control->y());
}

// ---------------------------------------------------------------- look

void TResizer::ShowCursor(Qt::CursorShape shape) {
  if (QWidget* control = control_.Get()) control->setCursor(shape);
}

void TResizer::RestoreCursor() {
  QWidget* control = control_.Get();
  if (!control) return;
  if (had_cursor_)
    control->setCursor(saved_cursor_);
  else
    control->unsetCursor();
}

void TResizer::SendToControl(unsigned msg, WParam wparam, LParam lparam) {
  if (auto* target = dynamic_cast<MessageTarget*>(control_.Get())) target->Perform(msg, wparam, lparam);
}

// ---------------------------------------------------------------- properties

bool TResizer::SetProperty(std::string_view name, const PropertyValue& value) {
  using T = TResizer;
  static const PropertyTable<T> properties = {
      {"ResizingBorder", IntProperty(&T::SetResizingDistance)},
      {"ResizingMode", SetModesProperty},
      {"GridDimension", IntProperty(&T::SetGridSpacing)},
      {"FixDblClick", [](T& t, const PropertyValue& v) { return PropertyAsBool(v, t.FixDblClick); }},
      {"OnMove", EventProperty(&T::OnMove)},
      {"OnResize", EventProperty(&T::OnResize)},
  };
  if (auto taken = properties.Apply(*this, name, value)) return *taken;
  return Component::SetProperty(name, value);
}

}  // namespace vzt
