#include <gtest/gtest.h>

#include <QTest>

#include "ControlTestSupport.h"
#include "components/controls/ChildLabel.h"
#include "components/controls/ValueEditEx.h"

using namespace vzt;
using namespace vzt::test;

namespace {

struct PlaceCase {
  const char* name;
  TLabelPosition position;
  TAlignment alignment;
  int spacing;
  QRect control;
  QSize label;
  QPoint expected;
};

std::ostream& operator<<(std::ostream& os, const PlaceCase& c) { return os << c.name; }

class ChildLabelPlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(ChildLabelPlaceTest, SitsBesideItsControl) {
  const PlaceCase& c = GetParam();
  TestWindow window;
  auto* control = new QWidget(&window);
  control->setGeometry(c.control);
  auto* label = new TChildLabel(nullptr, control, nullptr);
  label->SetAutoSize(false);
  label->SetWidth(c.label.width());
  label->SetHeight(c.label.height());
  label->FollowControl();
  label->SetLabelSpacing(c.spacing);
  label->SetLabelAlignment(c.alignment);
  label->SetLabelPosition(c.position);
  EXPECT_EQ(label->pos(), c.expected);
  EXPECT_EQ(label->size(), c.label);
  delete label;
}

INSTANTIATE_TEST_SUITE_P(Rules, ChildLabelPlaceTest, ::testing::Values(
    // The configuration window's captions: one left edge whatever the text, or ending
    // just before the box.
    PlaceCase{"left, left-aligned", lpLeft, taLeftJustify, 530, {586, 100, 96, 24}, {120, 18}, {56, 103}},
    PlaceCase{"left, right-aligned", lpLeft, taRightJustify, 5, {586, 100, 96, 24}, {120, 18}, {461, 103}},
    PlaceCase{"left, centred", lpLeft, taCenter, 80, {300, 40, 96, 24}, {41, 17}, {200, 43}},
    PlaceCase{"above, centred", lpAbove, taCenter, 4, {100, 50, 90, 26}, {40, 18}, {125, 28}},
    PlaceCase{"above, right-aligned", lpAbove, taRightJustify, 4, {100, 50, 90, 26}, {40, 18}, {150, 28}},
    PlaceCase{"above the top edge", lpAbove, taLeftJustify, 4, {100, 0, 90, 26}, {40, 18}, {100, -22}},
    PlaceCase{"below, left-aligned", lpBelow, taLeftJustify, 4, {100, 50, 90, 26}, {40, 18}, {100, 80}},
    PlaceCase{"below, centred odd", lpBelow, taCenter, 0, {100, 50, 91, 26}, {40, 18}, {125, 76}},
    PlaceCase{"right, left-aligned", lpRight, taLeftJustify, 10, {100, 50, 90, 26}, {40, 18}, {200, 54}},
    PlaceCase{"right, centred", lpRight, taCenter, 10, {100, 50, 90, 26}, {40, 18}, {180, 54}},
    PlaceCase{"taller than the control", lpRight, taLeftJustify, 0, {100, 50, 90, 10}, {40, 17}, {190, 47}}));

// A value edit box at x = 586 with its caption left of it.
class ChildLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box = new TValueEditEx(nullptr, &window);
    box->SetBounds(586, 100, 96, 24);
    label = box->EditLabel();
    label->SetCaption(QStringLiteral("Giri"));
    window.ShowActive();
  }

  int RightEdge() const { return label->x() + label->width(); }

  TestWindow window;
  TValueEditEx* box = nullptr;
  TChildLabel* label = nullptr;
};

TEST_F(ChildLabelTest, FollowsItsControlWhenItMoves) {
  label->SetLabelSpacing(530);
  const QPoint before = label->pos();
  box->move(596, 110);
  EXPECT_EQ(label->pos(), before + QPoint(10, 10));
  box->SetBounds(586, 100, 96, 40);
  EXPECT_EQ(label->pos().y(), 100 + (40 - label->height()) / 2);
}

TEST_F(ChildLabelTest, ARightAlignedCaptionKeepsItsRightEdge) {
  label->SetLabelSpacing(5);
  label->SetLabelAlignment(taRightJustify);
  ASSERT_EQ(RightEdge(), 581);
  const int narrow = label->width();
  label->SetCaption(QStringLiteral("Riprogramma Centralina (valore != a 240)"));
  EXPECT_GT(label->width(), narrow);
  EXPECT_EQ(RightEdge(), 581);
  ASSERT_TRUE(label->SetProperty("Font.Height", -30LL));
  EXPECT_EQ(RightEdge(), 581);
}

TEST_F(ChildLabelTest, ALeftAlignedCaptionKeepsItsLeftEdgeWhateverTheText) {
  label->SetLabelSpacing(530);
  label->SetCaption(QStringLiteral("Temperatura per Cambio"));
  EXPECT_EQ(label->x(), 56);
}

TEST_F(ChildLabelTest, AClickGivesTheFocusToTheControlAfterOnClick) {
  auto* other = new TValueEditEx(nullptr, &window);
  other->show();
  other->setFocus();
  std::vector<bool> focusedAtClick;
  label->OnClick = [this, &focusedAtClick](Component*) { focusedAtClick.push_back(box->hasFocus()); };
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_TRUE(box->hasFocus());
  EXPECT_EQ(focusedAtClick, std::vector<bool>{false});
}

TEST_F(ChildLabelTest, AClickLeavesTheFocusAloneWhenTheControlCannotTakeIt) {
  auto* other = new TValueEditEx(nullptr, &window);
  other->show();
  other->setFocus();
  box->setEnabled(false);
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_TRUE(other->hasFocus());
}

TEST_F(ChildLabelTest, SizeSettersKeepLeftAndTopAndThePlaceIsReadOnly) {
  label->SetAutoSize(false);
  const QPoint at = label->pos();
  EXPECT_TRUE(label->SetProperty("Width", 300LL));
  EXPECT_TRUE(label->SetProperty("Height", 30LL));
  EXPECT_EQ(label->pos(), at);
  EXPECT_EQ(label->size(), QSize(300, 30));
  EXPECT_FALSE(label->SetProperty("Left", 5LL));
  EXPECT_FALSE(label->SetProperty("Top", 5LL));
  EXPECT_FALSE(label->SetProperty("LabelPosition", 4LL));
  EXPECT_FALSE(label->SetProperty("Alignment", -1LL));
  EXPECT_EQ(label->pos(), at);
}

TEST(ChildLabelConstructionTest, TakesItsOwnersNameAndTheDefaults) {
  Component owner;
  owner.SetName("QorValEditTempCambio");
  QWidget control;
  TChildLabel label(&owner, &control, &control);
  EXPECT_EQ(label.Name(), "ChildLabel");
  EXPECT_EQ(label.Caption(), QStringLiteral("QorValEditTempCambio"));
  EXPECT_EQ(label.LabelPosition(), lpLeft);
  EXPECT_EQ(label.LabelSpacing(), 80);
  EXPECT_EQ(label.Alignment(), taLeftJustify);
  EXPECT_EQ(label.FocusControl(), &control);
  EXPECT_EQ(label.Owner(), &owner);
}

TEST(ChildLabelConstructionTest, WithoutAControlThePositionStays) {
  TChildLabel label(nullptr, nullptr, nullptr);
  label.SetLabelPosition(lpAbove);
  EXPECT_EQ(label.LabelPosition(), lpLeft);
  label.FollowControl();
  EXPECT_EQ(label.parentWidget(), nullptr);
}

}  // namespace
