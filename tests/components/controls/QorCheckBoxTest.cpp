#include <gtest/gtest.h>

#include <QTest>

#include "ControlTestSupport.h"
#include "components/controls/QorCheckBox.h"
#include "components/controls/Resizer.h"
#include "platform/Resource.h"

using namespace vzt;
using namespace vzt::test;

namespace {

struct Condition {
  TCheckCondition condition;
  double conditionValue, checkedValue, uncheckedValue;
};

// A check box on a parameter that the fake controller holds, in a shown window.
class CheckBoxTest : public ::testing::Test {
 protected:
  void Build(Condition c, int raw) {
    box = new TQorCheckBox(nullptr, &window);
    box->setText(QStringLiteral("CutOff"));
    box->resize(200, 24);
    box->CheckedValue = c.checkedValue;
    box->UncheckedValue = c.uncheckedValue;
    box->SetNumber(&param.item);
    box->SetCheckCondition(c.condition);
    box->SetConditionValue(c.conditionValue);
    box->OnClick = [this](Component*) {
      clicks.push_back({box->isChecked(), param.item.RawValue(), param.Writes()});
    };
    param.Arrive(raw);
    window.ShowActive();
  }
  void Toggle() { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 12)); }

  struct ClickSeen {
    bool checked;
    int itemRaw;
    int writesSoFar;
    bool operator==(const ClickSeen&) const = default;
  };

  OnlineParameter param;
  TestWindow window;
  TQorCheckBox* box = nullptr;
  std::vector<ClickSeen> clicks;
};

struct StateCase {
  const char* name;
  Condition condition;
  int raw;
  bool checked;
};

std::ostream& operator<<(std::ostream& os, const StateCase& c) { return os << c.name; }

class CheckBoxStateTest : public CheckBoxTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(CheckBoxStateTest, TheStateFollowsTheConditionWithoutAClick) {
  const StateCase& c = GetParam();
  Build(c.condition, c.raw);
  EXPECT_EQ(box->isChecked(), c.checked);
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(param.Writes(), 0);
}

INSTANTIATE_TEST_SUITE_P(Conditions, CheckBoxStateTest, ::testing::Values(
    StateCase{"masked bit set", {ccMaskedBit, 8, 8, 0}, 13, true},
    StateCase{"masked bit clear", {ccMaskedBit, 8, 8, 0}, 5, false},
    StateCase{"two-bit field 01 in 4", {ccMaskedBit, 12, 4, 0}, 4, true},
    StateCase{"two-bit field 01 in 5", {ccMaskedBit, 12, 4, 0}, 5, true},
    StateCase{"two-bit field 11", {ccMaskedBit, 12, 4, 0}, 12, false},
    StateCase{"default box nonzero", {ccNotEqualTo, 0, 1, 0}, 7, true},
    StateCase{"default box zero", {ccNotEqualTo, 0, 1, 0}, 0, false},
    StateCase{"equal", {ccEqualTo, 3, 1, 0}, 3, true},
    StateCase{"not equal", {ccEqualTo, 3, 1, 0}, 4, false},
    StateCase{"below", {ccMinorOf, 90, 60, 120}, 80, true},
    StateCase{"not below", {ccMinorOf, 90, 60, 120}, 90, false},
    StateCase{"above", {ccGreaterOf, 90, 1, 0}, 91, true},
    StateCase{"not above", {ccGreaterOf, 90, 1, 0}, 90, false}));

struct ToggleCase {
  const char* name;
  Condition condition;
  int raw;
  bool checkedAfter;
  int written;
};

std::ostream& operator<<(std::ostream& os, const ToggleCase& c) { return os << c.name; }

class CheckBoxToggleTest : public CheckBoxTest,
                           public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(CheckBoxToggleTest, AToggleWritesAtOnceAfterOnClick) {
  const ToggleCase& c = GetParam();
  Build(c.condition, c.raw);
  Toggle();
  EXPECT_EQ(param.Byte(), c.written);
  EXPECT_EQ(param.item.RawValue(), c.written);
  EXPECT_EQ(box->isChecked(), c.checkedAfter);
  // OnClick saw the new state while the item still held the old value.
  EXPECT_EQ(clicks, (std::vector<ClickSeen>{{c.checkedAfter, c.raw, 0}}));
}

INSTANTIATE_TEST_SUITE_P(Toggles, CheckBoxToggleTest, ::testing::Values(
    ToggleCase{"unchecking clears the bit", {ccMaskedBit, 8, 8, 0}, 13, false, 5},
    ToggleCase{"checking sets the bit", {ccMaskedBit, 8, 8, 0}, 5, true, 13},
    ToggleCase{"checking sets a two-bit field to 01", {ccMaskedBit, 12, 4, 0}, 13, true, 5},
    ToggleCase{"default box checks to 1", {ccNotEqualTo, 0, 1, 0}, 0, true, 1},
    ToggleCase{"default box unchecks to 0", {ccNotEqualTo, 0, 1, 0}, 9, false, 0}));

TEST_F(CheckBoxTest, SpaceTogglesLikeTheMouse) {
  Build({ccMaskedBit, 1, 1, 0}, 6);
  box->setFocus();
  QTest::keyClick(box, Qt::Key_Space);
  EXPECT_EQ(param.Byte(), 7);
  EXPECT_TRUE(box->isChecked());
}

TEST_F(CheckBoxTest, AComparisonBoxWritesPastTheLimitsAndRestoresThem) {
  // Engine speed in hundreds: 120 stands for 12000.
  param.Scale(100);
  param.item.SetMaxValue(10000);
  for (bool limitsOff : {false, true}) {
    SCOPED_TRACE(limitsOff);
    param.item.DisableLimits = limitsOff;
    delete box;
    clicks.clear();
    Build({ccMinorOf, 9000, 6000, 12000}, 80);
    ASSERT_TRUE(box->isChecked());
    Toggle();
    EXPECT_EQ(param.Byte(), 120);
    EXPECT_EQ(param.item.DisableLimits, limitsOff);
    EXPECT_FALSE(box->isChecked());
  }
}

TEST_F(CheckBoxTest, AMaskedWriteKeepsTheItemsLimits) {
  param.item.SetMaxValue(10);
  Build({ccMaskedBit, 8, 8, 0}, 5);
  Toggle();
  EXPECT_EQ(param.Byte(), 10);  // 13 clamped
}

TEST_F(CheckBoxTest, AFailedReadBeforeABitWriteWritesNothing) {
  Build({ccMaskedBit, 8, 8, 0}, 5);
  // A failed write leaves the item to be read again before the next bit write.
  param.link.fail_writes = true;
  param.item.SetData(5);
  param.link.fail_writes = false;
  param.link.fail_reads = true;
  const int writesBefore = param.Writes();
  Toggle();
  EXPECT_EQ(param.Writes(), writesBefore);
  EXPECT_TRUE(box->isChecked());  // stays toggled until the next data message
}

TEST_F(CheckBoxTest, ARefusedWriteBringsTheStateBack) {
  Build({ccMaskedBit, 8, 8, 0}, 5);
  param.item.ReadOnly = true;
  Toggle();
  EXPECT_EQ(param.Writes(), 0);
  EXPECT_FALSE(box->isChecked());
}

TEST_F(CheckBoxTest, DataMessagesNeverClickNorWrite) {
  Build({ccMaskedBit, 8, 8, 0}, 5);
  for (int raw : {8, 0, 255, 13}) param.Arrive(raw);
  EXPECT_TRUE(box->isChecked());
  const int raw = 4;
  box->Perform(MSG_PACKET_ARRIVED, AsWParam(&raw), 0);
  EXPECT_FALSE(box->isChecked());
  EXPECT_TRUE(clicks.empty());
  EXPECT_EQ(param.Writes(), 0);
}

TEST_F(CheckBoxTest, ChangingTheConditionReadsTheItemAgain) {
  Build({ccMaskedBit, 8, 8, 0}, 4);
  ASSERT_FALSE(box->isChecked());
  const int readsBefore = param.Reads();
  box->SetConditionValue(4);
  EXPECT_EQ(param.Reads(), readsBefore + 1);
  box->CheckedValue = 4;
  box->SetCheckCondition(ccMaskedBit);
  EXPECT_TRUE(box->isChecked());
  box->SetCheckCondition(ccEqualTo);
  EXPECT_TRUE(box->isChecked());
  EXPECT_TRUE(clicks.empty());
}

TEST_F(CheckBoxTest, WithoutAnItemAToggleOnlyClicks) {
  Build({ccMaskedBit, 8, 8, 0}, 5);
  box->SetNumber(nullptr);
  EXPECT_TRUE(box->InitData());
  Toggle();
  EXPECT_EQ(clicks.size(), 1u);
  EXPECT_EQ(param.Writes(), 0);
}

TEST_F(CheckBoxTest, AnItemThatGoesIsForgotten) {
  Build({ccNotEqualTo, 0, 1, 0}, 1);
  auto* item = new TQorNumber;
  box->SetNumber(item);
  delete item;
  EXPECT_EQ(box->Value(), nullptr);
  Toggle();
  EXPECT_EQ(clicks.size(), 1u);
}

TEST(CheckBoxResourceTest, CheckedValueIsReadAfterTheOrdinaryProperties) {
  Component root;
  const std::vector<ComponentRow> rows = {
      {"FlagConfigurazione", Create<TQorNumber>, {}},
      {"QorCheckBoxDef", Create<TQorCheckBox>,
       {{"Value", ComponentRef{"FlagConfigurazione"}},
        {"Condition", static_cast<long long>(ccMaskedBit)},
        {"ConditionValue", 8.0},
        {"UncheckedValue", 0LL},
        {"Caption", std::u16string(u"Imposta Default Fisso")},
        {"Resizer.ResizingBorder", 8LL},
        {"Resizer.ResizingMode", PropertyList{1, 3}},
        {"Resizer.GridDimension", 10LL},
        {"Resizer.FixDblClick", true},
        {"CheckedValue", 8.0}}},
  };
  EXPECT_TRUE(LoadResource(root, rows).empty());
  auto* box = dynamic_cast<TQorCheckBox*>(root.FindComponent("QorCheckBoxDef"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->Condition(), ccMaskedBit);
  EXPECT_EQ(box->ConditionValue(), 8);
  EXPECT_EQ(box->CheckedValue, 8);
  EXPECT_EQ(box->text(), QStringLiteral("Imposta Default Fisso"));
  EXPECT_EQ(box->Resizer()->ResizingMode(), ResizingBit(raHorizontal) | ResizingBit(raMove));
  EXPECT_FALSE(box->SetProperty("Condition", 5LL));
  EXPECT_FALSE(box->SetProperty("Resizer.ResizingMode", PropertyList{4}));
}

TEST(CheckBoxConstructionTest, StartsUncheckedWithTwoStates) {
  TQorCheckBox box;
  EXPECT_FALSE(box.isChecked());
  EXPECT_FALSE(box.isTristate());
  EXPECT_EQ(box.Condition(), ccNotEqualTo);
  EXPECT_EQ(box.ConditionValue(), 0);
  EXPECT_EQ(box.CheckedValue, 1);
  EXPECT_EQ(box.UncheckedValue, 0);
  ASSERT_NE(box.Resizer(), nullptr);
  EXPECT_TRUE(box.Resizer()->Locked());
}

}  // namespace
