#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include "ControlTestSupport.h"
#include "components/controls/ComponentResizer.h"
#include "components/controls/Resizer.h"
#include "components/controls/ValueEditEx.h"
#include "platform/Resource.h"

using namespace vzt;
using namespace vzt::test;

namespace {

// An edit control that counts the mouse events it gets and records the messages sent to it.
class RecordingBox : public QLineEdit, public Component, public MessageTarget {
 public:
  explicit RecordingBox(QWidget* parent) : QLineEdit(parent) {}

  struct Message {
    unsigned msg;
    WParam wparam;
    LParam lparam;
    bool operator==(const Message&) const = default;
  };

  LParam Perform(unsigned msg, WParam wparam, LParam lparam) override {
    messages.push_back({msg, wparam, lparam});
    return 0;
  }

  std::vector<Message> messages;
  int presses = 0, releases = 0, doubles = 0, moves = 0;

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    ++presses;
    QLineEdit::mousePressEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    ++releases;
    QLineEdit::mouseReleaseEvent(e);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    ++doubles;
    QLineEdit::mouseDoubleClickEvent(e);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    ++moves;
    QLineEdit::mouseMoveEvent(e);
  }
};

// A 90 x 26 box at (100, 50) with a resizer of border 8, horizontal and move modes, grid 10.
// Mouse positions are given in the window's coordinates, as the user's hand moves; the
// events go to the box, as they do while it holds the mouse.
class ResizerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box = new RecordingBox(&window);
    box->setGeometry(100, 50, 90, 26);
    resizer = new TResizer(box, box);
    window.ShowActive();
  }

  QPoint InBox(QPoint at) const { return box->mapFromParent(at); }
  void Hover(QPoint at) { QTest::mouseMove(box, InBox(at)); }
  void Press(QPoint at) { QTest::mousePress(box, Qt::LeftButton, {}, InBox(at)); }
  void Release(QPoint at) { QTest::mouseRelease(box, Qt::LeftButton, {}, InBox(at)); }
  void Click(QPoint at) { QTest::mouseClick(box, Qt::LeftButton, {}, InBox(at)); }
  void DoubleClick(QPoint at) { QTest::mouseDClick(box, Qt::LeftButton, {}, InBox(at)); }
  // Hovers over a point of the box (in its own coordinates) and presses there.
  QPoint Grab(QPoint inBox) {
    const QPoint at = box->geometry().topLeft() + inBox;
    Hover(at);
    Press(at);
    return at;
  }
  Qt::CursorShape Cursor() const { return box->cursor().shape(); }

  TestWindow window;
  RecordingBox* box = nullptr;
  TResizer* resizer = nullptr;
};

TEST_F(ResizerTest, LockedItChangesNothing) {
  ASSERT_TRUE(resizer->Locked());
  const Qt::CursorShape own = Cursor();
  Hover({103, 60});
  Click({140, 60});
  DoubleClick({140, 60});
  EXPECT_EQ(box->presses, 1);
  EXPECT_EQ(box->releases, 1);
  EXPECT_EQ(box->doubles, 1);
  EXPECT_TRUE(box->hasFocus());
  EXPECT_EQ(Cursor(), own);
  EXPECT_EQ(box->geometry(), QRect(100, 50, 90, 26));
  EXPECT_TRUE(box->messages.empty());
}

struct ZoneCase {
  const char* name;
  TResizingModes modes;
  QPoint inBox;
  int zone;
  Qt::CursorShape cursor;  // Qt::IBeamCursor: the box's own
};

std::ostream& operator<<(std::ostream& os, const ZoneCase& c) { return os << c.name; }

class ResizerZoneTest : public ResizerTest, public ::testing::WithParamInterface<ZoneCase> {};

TEST_P(ResizerZoneTest, HoveringPicksTheZoneAndTheCursor) {
  const ZoneCase& c = GetParam();
  resizer->SetResizingMode(c.modes);
  resizer->SetLockControl(false);
  // Coming from outside the box, as a hand does (and never from where the last case ended).
  Hover(box->geometry().topLeft() + QPoint(-20, -20));
  Hover(box->geometry().topLeft() + c.inBox);
  EXPECT_EQ(resizer->CurrentZone(), c.zone);
  EXPECT_EQ(Cursor(), c.cursor);
  EXPECT_EQ(box->moves, 0);  // the box never sees the moves
}

constexpr TResizingModes kWindowModes = ResizingBit(raHorizontal) | ResizingBit(raMove);
constexpr TResizingModes kAllModes = ResizingBit(raVertical) | ResizingBit(raHorizontal) |
                                     ResizingBit(raCorner) | ResizingBit(raMove);
constexpr TResizingModes kNoMove = kAllModes & ~ResizingBit(raMove);

INSTANTIATE_TEST_SUITE_P(WindowModes, ResizerZoneTest, ::testing::Values(
    ZoneCase{"left edge", kWindowModes, {3, 13}, TResizer::zLeft, Qt::SizeHorCursor},
    ZoneCase{"right edge", kWindowModes, {85, 13}, TResizer::zRight, Qt::SizeHorCursor},
    ZoneCase{"inside", kWindowModes, {40, 13}, TResizer::zMove, Qt::SizeAllCursor},
    ZoneCase{"top band has no vertical zone", kWindowModes, {40, 2}, TResizer::zMove, Qt::SizeAllCursor},
    ZoneCase{"bottom band has no vertical zone", kWindowModes, {40, 24}, TResizer::zMove, Qt::SizeAllCursor},
    ZoneCase{"corner without corner mode", kWindowModes, {3, 2}, TResizer::zLeft, Qt::SizeHorCursor}));

INSTANTIATE_TEST_SUITE_P(AllModes, ResizerZoneTest, ::testing::Values(
    ZoneCase{"top left", kAllModes, {3, 2}, TResizer::zTopLeft, Qt::SizeFDiagCursor},
    ZoneCase{"bottom right", kAllModes, {86, 24}, TResizer::zBottomRight, Qt::SizeFDiagCursor},
    ZoneCase{"bottom left", kAllModes, {3, 24}, TResizer::zBottomLeft, Qt::SizeBDiagCursor},
    ZoneCase{"top right", kAllModes, {86, 2}, TResizer::zTopRight, Qt::SizeBDiagCursor},
    ZoneCase{"top", kAllModes, {40, 2}, TResizer::zTop, Qt::SizeVerCursor},
    ZoneCase{"bottom", kAllModes, {40, 24}, TResizer::zBottom, Qt::SizeVerCursor}));

INSTANTIATE_TEST_SUITE_P(WithoutMove, ResizerZoneTest, ::testing::Values(
    // Edges that would move the origin need the move mode.
    ZoneCase{"top left", kNoMove, {3, 2}, TResizer::zNone, Qt::IBeamCursor},
    ZoneCase{"left", kNoMove, {3, 13}, TResizer::zNone, Qt::IBeamCursor},
    ZoneCase{"bottom right", kNoMove, {86, 24}, TResizer::zBottomRight, Qt::SizeFDiagCursor},
    ZoneCase{"right", kNoMove, {86, 13}, TResizer::zRight, Qt::SizeHorCursor},
    ZoneCase{"inside", kNoMove, {40, 13}, TResizer::zNone, Qt::IBeamCursor}));

TEST_F(ResizerTest, DraggingTheRightEdgeGrowsInGridStepsAndCarriesTheRest) {
  resizer->SetLockControl(false);
  const QPoint start = Grab({85, 13});
  Hover(start + QPoint(23, 0));
  EXPECT_EQ(box->width(), 110);
  EXPECT_EQ(resizer->Anchor().x(), 105);
  Hover(start + QPoint(29, 0));
  EXPECT_EQ(box->width(), 110);
  Hover(start + QPoint(30, 0));
  EXPECT_EQ(box->width(), 120);
  EXPECT_EQ(box->pos(), QPoint(100, 50));
  Release(start + QPoint(30, 0));
  EXPECT_FALSE(resizer->Dragging());
  EXPECT_EQ(box->presses + box->releases + box->moves, 0);
}

TEST_F(ResizerTest, DraggingTheLeftEdgeMovesTheOriginAndStopsAtZero) {
  resizer->SetLockControl(false);
  const QPoint start = Grab({3, 13});
  Hover(start - QPoint(25, 0));
  EXPECT_EQ(box->geometry(), QRect(80, 50, 110, 26));
  Hover(start - QPoint(50, 0));
  EXPECT_EQ(box->geometry(), QRect(50, 50, 140, 26));
  Release(start - QPoint(50, 0));

  box->move(15, 50);
  const QPoint nearEdge = Grab({3, 13});
  Hover(nearEdge - QPoint(25, 0));
  EXPECT_EQ(box->geometry(), QRect(0, 50, 140, 26));
}

TEST_F(ResizerTest, NoSideGetsBelowSixPixels) {
  resizer->SetLockControl(false);
  const QPoint start = Grab({85, 13});
  Hover(start - QPoint(200, 0));
  EXPECT_EQ(box->width(), 6);
}

TEST_F(ResizerTest, MovingSnapsToTheGridAndNeverBelowZero) {
  resizer->SetLockControl(false);
  const QPoint start = Grab({40, 13});
  Hover(start + QPoint(37, 14));
  EXPECT_EQ(box->pos(), QPoint(130, 60));
  Hover(start + QPoint(42, 14));
  EXPECT_EQ(box->pos(), QPoint(140, 60));
  Hover(start - QPoint(300, 300));
  EXPECT_EQ(box->pos(), QPoint(0, 0));
  EXPECT_EQ(box->size(), QSize(90, 26));
}

TEST_F(ResizerTest, AnOnMoveHandlerDecidesThePlace) {
  std::vector<QPoint> offered;
  resizer->OnMove = [&offered](Component*, int& left, int& top) {
    offered.push_back({left, top});
    left = 333;
    top = 44;
  };
  resizer->SetLockControl(false);
  const QPoint start = Grab({40, 13});
  Hover(start + QPoint(37, 14));
  EXPECT_EQ(offered, std::vector<QPoint>{QPoint(130, 60)});
  EXPECT_EQ(box->pos(), QPoint(333, 44));
}

TEST_F(ResizerTest, OnResizeSeesTheRawDeltas) {
  std::vector<QPoint> deltas;
  resizer->OnResize = [&deltas](Component*, int dw, int dh) { deltas.push_back({dw, dh}); };
  resizer->SetLockControl(false);
  const QPoint start = Grab({85, 13});
  Hover(start + QPoint(23, 5));
  EXPECT_EQ(deltas, std::vector<QPoint>{QPoint(23, 0)});
}

TEST_F(ResizerTest, ThePressAndTheReleaseAreAnnouncedToTheControl) {
  resizer->SetLockControl(false);
  const QPoint start = Grab({85, 13});
  Release(start);
  using M = RecordingBox::Message;
  EXPECT_EQ(box->messages, (std::vector<M>{{MSG_START_RESIZING, TResizer::zRight, (13 << 16) | 85},
                                           {MSG_END_RESIZING, 0, 0}}));
  EXPECT_EQ(resizer->CurrentZone(), TResizer::zNone);
  EXPECT_EQ(Cursor(), Qt::IBeamCursor);
}

TEST_F(ResizerTest, WithoutModesAPressStartsNothingButStaysWithTheResizer) {
  resizer->SetResizingMode(0);
  resizer->SetLockControl(false);
  Grab({40, 13});
  EXPECT_FALSE(resizer->Dragging());
  EXPECT_EQ(box->presses, 0);
  EXPECT_TRUE(box->messages.empty());
}

TEST_F(ResizerTest, ADoubleClickLocksAgainOnlyWithFixDblClick) {
  resizer->SetLockControl(false);
  DoubleClick({140, 60});
  EXPECT_TRUE(resizer->Locked());
  EXPECT_EQ(box->doubles, 0);

  resizer->FixDblClick = false;
  resizer->SetLockControl(false);
  DoubleClick({140, 60});
  EXPECT_FALSE(resizer->Locked());
  EXPECT_EQ(box->doubles, 1);
}

TEST_F(ResizerTest, LockingEndsADragAndGivesTheCursorBack) {
  resizer->SetLockControl(false);
  const QPoint start = Grab({85, 13});
  ASSERT_EQ(Cursor(), Qt::SizeHorCursor);
  resizer->SetLockControl(true);
  EXPECT_FALSE(resizer->Dragging());
  EXPECT_EQ(Cursor(), Qt::IBeamCursor);
  Hover(start + QPoint(40, 0));
  EXPECT_EQ(box->width(), 90);
}

TEST_F(ResizerTest, LoadingLocksIt) {
  resizer->SetLockControl(false);
  resizer->Loaded();
  EXPECT_TRUE(resizer->Locked());
}

TEST_F(ResizerTest, SettingsOutOfRangeAreRefused) {
  resizer->SetResizingDistance(20);
  EXPECT_EQ(resizer->ResizingBorder(), 20);
  for (int refused : {50, 26, -1}) {
    resizer->SetResizingDistance(refused);
    EXPECT_EQ(resizer->ResizingBorder(), 20);
  }
  resizer->SetGridSpacing(0);
  EXPECT_EQ(resizer->GridDimension(), 1);
  resizer->SetGridSpacing(-5);
  EXPECT_EQ(resizer->GridDimension(), 1);
  TComponentResizer free;
  free.SetResizingDistance(500);  // no control to measure against
  EXPECT_EQ(free.ResizingBorder(), 500);
}

TEST(ComponentResizerTest, ForgetsAControlThatGoesFirst) {
  TestWindow window;
  TComponentResizer resizer;
  for (bool ours : {true, false}) {
    SCOPED_TRACE(ours);
    QWidget* control = ours ? static_cast<QWidget*>(new TValueEditEx(nullptr, &window))
                            : new QLineEdit(&window);
    resizer.SetOwner(control);
    resizer.SetLockControl(false);
    delete control;
    EXPECT_EQ(resizer.Control(), nullptr);
    EXPECT_TRUE(resizer.Locked());
    EXPECT_FALSE(resizer.Dragging());
  }
}

TEST(ComponentResizerTest, MovingToAnotherControlKeepsTheLockState) {
  TestWindow window;
  auto* first = new RecordingBox(&window);
  auto* second = new RecordingBox(&window);
  first->setGeometry(10, 10, 90, 26);
  second->setGeometry(10, 100, 90, 26);
  window.ShowActive();
  TComponentResizer resizer;
  resizer.SetOwner(first);
  resizer.SetLockControl(false);
  resizer.SetOwner(second);
  EXPECT_FALSE(resizer.Locked());
  EXPECT_EQ(resizer.Control(), second);
  EXPECT_EQ(resizer.Anchor(), QPoint(10, 100));
  QTest::mouseClick(first, Qt::LeftButton, {}, {40, 10});
  QTest::mouseClick(second, Qt::LeftButton, {}, {40, 10});
  EXPECT_EQ(first->presses, 1);
  EXPECT_EQ(second->presses, 0);
  resizer.SetOwner(nullptr);
  EXPECT_TRUE(resizer.Locked());
  EXPECT_EQ(resizer.Control(), nullptr);
}

TEST(ComponentResizerTest, IsAttachedAndSetUpByName) {
  Component root;
  const std::vector<ComponentRow> rows = {
      {"Edit", Create<TValueEditEx>, {}},
      {"ComponentResizer1", Create<TComponentResizer>,
       {{"Component", ComponentRef{"Edit"}},
        {"ResizingBorder", 8LL},
        {"ResizingMode", PropertyList{0, 2}},
        {"GridDimension", 5LL},
        {"FixDblClick", false}}},
  };
  EXPECT_TRUE(LoadResource(root, rows).empty());
  auto* resizer = dynamic_cast<TComponentResizer*>(root.FindComponent("ComponentResizer1"));
  ASSERT_NE(resizer, nullptr);
  EXPECT_EQ(resizer->Control(), dynamic_cast<QWidget*>(root.FindComponent("Edit")));
  EXPECT_EQ(resizer->ResizingMode(), ResizingBit(raVertical) | ResizingBit(raCorner));
  EXPECT_EQ(resizer->GridDimension(), 5);
  EXPECT_FALSE(resizer->FixDblClick);
  EXPECT_TRUE(resizer->Locked());
  EXPECT_FALSE(resizer->SetProperty("ResizingMode", PropertyList{0.5}));
  EXPECT_FALSE(resizer->SetProperty("ResizingMode", 16LL));
  EXPECT_TRUE(resizer->SetProperty("ResizingMode", 15LL));
  EXPECT_EQ(resizer->ResizingMode(), kAllModes);
  delete root.FindComponent("Edit");
  EXPECT_EQ(resizer->Control(), nullptr);
}

}  // namespace
