#pragma once

#include <QCursor>
#include <QObject>
#include <QPoint>

#include <functional>

#include "components/controls/ControlRef.h"
#include "platform/Messages.h"

class QMouseEvent;

namespace vzt {

enum TResizingKind : int { raVertical = 0, raHorizontal = 1, raCorner = 2, raMove = 3 };

// A set of TResizingKind, one bit per kind.
using TResizingModes = unsigned;
constexpr TResizingModes ResizingBit(TResizingKind kind) { return 1u << kind; }

using TResizerMoveEvent = std::function<void(Component* sender, int& left, int& top)>;
using TResizerResizeEvent = std::function<void(Component* sender, int deltaWidth, int deltaHeight)>;

// Lets the user move and resize a control with the mouse, snapping to a grid: an edge or a
// corner resizes, the interior moves. It watches the control's mouse events before the
// control does; while locked (as it starts) it lets everything through, unlocked it keeps
// the four mouse events it works with (move, left press, left release, left double click).
class TResizer : public QObject, public Component {
 public:
  // Zones under the mouse; fixed for a whole drag.
  enum Zone : int {
    zNone = 0,
    zTop = 1,
    zBottom = 2,
    zLeft = 3,
    zRight = 4,
    zTopLeft = 5,
    zBottomLeft = 6,
    zBottomRight = 7,
    zTopRight = 8,
    zMove = 9,
  };

  TResizer(Component* owner, QWidget* control);
  ~TResizer() override;

  QWidget* Control() const { return control_.Get(); }

  int ResizingBorder() const { return border_; }
  // Refused when negative, or, with a control, when not smaller than its smaller side.
  void SetResizingDistance(int pixels);
  TResizingModes ResizingMode() const { return modes_; }
  void SetResizingMode(TResizingModes modes) { modes_ = modes; }
  int GridDimension() const { return grid_; }
  // Steps below 1 become 1.
  void SetGridSpacing(int pixels);
  bool FixDblClick = true;

  bool Locked() const { return locked_; }
  // Either way a drag in progress ends and the control gets its own cursor back.
  void SetLockControl(bool locked);

  int CurrentZone() const { return zone_; }
  bool Dragging() const { return dragging_; }
  QPoint Anchor() const { return anchor_; }

  TResizerMoveEvent OnMove;
  TResizerResizeEvent OnResize;

  void Notification(Component* component, Operation operation) override;
  void Loaded() override;
  bool SetProperty(std::string_view name, const PropertyValue& value) override;

 protected:
  virtual void DoMove(int x, int y);
  virtual void DoResize(int dx, bool fromLeft, int dy, bool fromTop);

  bool eventFilter(QObject* watched, QEvent* event) override;

  // Starts or stops watching a control; Detach gives it back its cursor and mouse tracking.
  void Attach(QWidget* control);
  void Detach();

 private:
  bool Allows(TResizingKind kind) const { return (modes_ & ResizingBit(kind)) != 0; }
  void MouseMove(QPoint p);
  void MouseDown(QPoint p);
  void MouseUp();
  bool MouseDblClick();
  void Hover(QPoint p);
  void Drag(QPoint p);
  int Snap(int delta) const { return grid_ * (delta / grid_); }
  void ResetState();
  void ShowCursor(Qt::CursorShape shape);
  // The control's own cursor, the toolkit's "default cursor".
  void RestoreCursor();
  void SendToControl(unsigned msg, WParam wparam, LParam lparam);

  ControlRef control_;
  QPoint anchor_;
  bool dragging_ = false;
  int zone_ = zNone;
  int border_ = 8;
  TResizingModes modes_ = ResizingBit(raHorizontal) | ResizingBit(raMove);
  bool locked_ = true;
  int grid_ = 10;
  bool had_cursor_ = false;
  QCursor saved_cursor_;
  bool saved_tracking_ = false;
  QMetaObject::Connection forget_control_;
};

}  // namespace vzt
