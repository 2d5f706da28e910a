#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include "ControlTestSupport.h"
#include "components/controls/ChildLabel.h"
#include "components/controls/Resizer.h"
#include "components/controls/ValueEditEx.h"
#include "platform/Resource.h"

using namespace vzt;
using namespace vzt::test;

namespace {

// The box with its error sound counted instead of played.
class CountingEdit : public TValueEditEx {
 public:
  using TValueEditEx::TValueEditEx;
  int sounds = 0;

 protected:
  void ErrorSound() override { ++sounds; }
};

void Retype(QLineEdit& box, const QString& text) {
  box.selectAll();
  if (text.isEmpty())
    QTest::keyClick(&box, Qt::Key_Backspace);
  else
    QTest::keyClicks(&box, text);
}

// ---------------------------------------------------------------- the character filter

struct FilterCase {
  const char* name;
  char separator;
  bool bound;
  double precision, min, max;
  const char* before;
  int selectionStart, selectionLength;  // length 0: only the caret there
  const char* typed;
  const char* expected;
};

std::ostream& operator<<(std::ostream& os, const FilterCase& c) { return os << c.name; }

class ValueEditFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ValueEditFilterTest, LetsOnlyAWellFormedNumberBeTyped) {
  const FilterCase& c = GetParam();
  SeparatorGuard guard(c.separator);
  OnlineParameter param;
  param.item.SetPrecision(c.precision);
  param.item.SetMaxValue(c.max);
  param.item.SetMinValue(c.min);
  TestWindow window;
  auto* box = new CountingEdit(nullptr, &window);
  if (c.bound) box->SetNumber(&param.item);
  window.ShowActive();
  box->setFocus();
  box->setText(QString::fromUtf8(c.before));
  if (c.selectionLength > 0)
    box->setSelection(c.selectionStart, c.selectionLength);
  else
    box->setCursorPosition(c.selectionStart);

  QTest::keyClicks(box, QString::fromUtf8(c.typed));

  EXPECT_EQ(box->text().toStdString(), c.expected);
  EXPECT_EQ(param.Writes(), 0);
}

INSTANTIATE_TEST_SUITE_P(Separators, ValueEditFilterTest, ::testing::Values(
    FilterCase{"point becomes the Italian comma", ',', true, 0.1, 0, 100, "", 0, 0, "1.5", "1,5"},
    FilterCase{"second separator dropped", ',', true, 0.1, 0, 100, "1,5", 3, 0, ".", "1,5"},
    FilterCase{"separator over the selected one", ',', true, 0.1, 0, 100, "1,5", 1, 2, ".7", "1,7"},
    FilterCase{"comma becomes the English point", '.', true, 0.1, 0, 100, "", 0, 0, "1,5", "1.5"},
    FilterCase{"whole step takes no separator", ',', true, 1, 0, 100, "", 0, 0, "1,5", "15"},
    FilterCase{"no step takes one", ',', true, 0, 0, 100, "", 0, 0, "1.5", "1,5"},
    FilterCase{"half step takes one", ',', true, 0.5, 0, 100, "", 0, 0, "2.5", "2,5"},
    FilterCase{"unbound takes one", ',', false, 0, 0, 0, "", 0, 0, "1.5", "1,5"}));

INSTANTIATE_TEST_SUITE_P(Minus, ValueEditFilterTest, ::testing::Values(
    FilterCase{"limits above zero refuse it", ',', true, 0, 0, 40, "", 0, 0, "-5", "5"},
    FilterCase{"negative low limit takes it", ',', true, 0, -10, 40, "", 0, 0, "-5", "-5"},
    FilterCase{"only at the start", ',', true, 0, -10, 40, "5", 1, 0, "-", "5"},
    FilterCase{"only once", ',', true, 0, -10, 40, "-5", 0, 0, "-", "-5"},
    FilterCase{"over the selected minus", ',', true, 0, -10, 40, "-5", 0, 2, "-", "-"},
    FilterCase{"no limits take it", ',', true, 0, 0, 0, "", 0, 0, "-3", "-3"},
    FilterCase{"unbound at the start", ',', false, 0, 0, 0, "5", 0, 0, "-", "-5"},
    FilterCase{"unbound not after a digit", ',', false, 0, 0, 0, "5", 1, 0, "-", "5"}));

INSTANTIATE_TEST_SUITE_P(Others, ValueEditFilterTest, ::testing::Values(
    FilterCase{"letters blanks and plus dropped", ',', true, 0, 0, 100, "", 0, 0, "a1 +2b", "12"},
    FilterCase{"backspace edits", ',', true, 0, 0, 100, "", 0, 0, "12\b3", "13"}));

TEST(ValueEditClipboardTest, ClipboardAndUndoShortcutsDoNothing) {
  TestWindow window;
  auto* box = new CountingEdit(nullptr, &window);
  auto* plain = new QLineEdit(&window);
  window.ShowActive();
  QApplication::clipboard()->setText(QStringLiteral("123"));
  // A plain edit of the same window pastes: the shortcut itself works here.
  plain->setFocus();
  QTest::keyClick(plain, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(plain->text(), QStringLiteral("123"));

  box->setFocus();
  box->setText(QStringLiteral("45"));
  box->setCursorPosition(2);
  QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
  QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
  box->selectAll();
  QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(box->text(), QStringLiteral("45"));
}

// ---------------------------------------------------------------- commit, escape, leaving

// A bound box between two others of a shown window; the item is limited to 0 ... 40 and
// holds 12.
class ValueEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    param.item.SetMaxValue(40);
    box = new CountingEdit(nullptr, &window);
    next = new CountingEdit(nullptr, &window);
    after = new QLineEdit(&window);
    box->SetBounds(600, 10, 96, 24);
    next->SetBounds(600, 50, 96, 24);
    after->setGeometry(600, 90, 96, 24);
    box->SetNumber(&param.item);
    box->SetNextControl(next);
    next->SetPrevControl(box);
    param.Arrive(12);
    window.ShowActive();
    box->setFocus();
  }

  bool WholeTextSelected(const QLineEdit& edit) const {
    return edit.hasSelectedText() && edit.selectedText() == edit.text();
  }

  SeparatorGuard italian{','};
  OnlineParameter param;
  TestWindow window;
  CountingEdit* box = nullptr;
  CountingEdit* next = nullptr;
  QLineEdit* after = nullptr;
};

TEST_F(ValueEditTest, ShowsTheValueThatArrivesInTheGeneralForm) {
  param.Scale(0.1);
  param.Arrive(25);
  EXPECT_EQ(box->text(), QStringLiteral("2,5"));
  param.Scale(1);
  param.Arrive(150);
  EXPECT_EQ(box->text(), QStringLiteral("150"));
}

TEST_F(ValueEditTest, EnterWritesTheClampedValueShowsItAndMovesOn) {
  Retype(*box, QStringLiteral("100"));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(param.Byte(), 40);
  EXPECT_EQ(box->text(), QStringLiteral("40"));
  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(box->sounds, 0);
}

TEST_F(ValueEditTest, EnterOnAnEmptyBoxSoundsAndShowsTheValueSelected) {
  Retype(*box, QString());
  ASSERT_TRUE(box->text().isEmpty());
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(box->sounds, 1);
  EXPECT_EQ(box->text(), QStringLiteral("12"));
  EXPECT_TRUE(WholeTextSelected(*box));
  EXPECT_TRUE(box->hasFocus());
  EXPECT_EQ(param.Writes(), 0);
}

TEST_F(ValueEditTest, ARefusedOrFailedWriteSoundsAndKeepsTheFocus) {
  for (bool refused : {true, false}) {
    SCOPED_TRACE(refused ? "read-only item" : "failed transfer");
    param.item.ReadOnly = refused;
    param.link.fail_writes = !refused;
    Retype(*box, QStringLiteral("30"));
    box->sounds = 0;
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->sounds, 1);
    EXPECT_EQ(box->text(), QStringLiteral("12"));
    EXPECT_TRUE(WholeTextSelected(*box));
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(param.Byte(), 12);
  }
}

TEST_F(ValueEditTest, EnterWithoutAnItemSoundsAndKeepsTheTypedText) {
  box->SetNumber(nullptr);
  Retype(*box, QStringLiteral("12,5"));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(box->sounds, 1);
  EXPECT_EQ(box->text(), QStringLiteral("12,5"));
  EXPECT_TRUE(WholeTextSelected(*box));
  EXPECT_TRUE(box->hasFocus());
}

TEST_F(ValueEditTest, EnterFallsBackToTheNextTabStopWhenNextControlCannotTakeTheFocus) {
  next->hide();
  Retype(*box, QStringLiteral("20"));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(param.Byte(), 20);
  EXPECT_TRUE(after->hasFocus());
}

TEST_F(ValueEditTest, EscapeShowsTheValueAgainSelected) {
  Retype(*box, QStringLiteral("30"));
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_EQ(box->text(), QStringLiteral("12"));
  EXPECT_TRUE(WholeTextSelected(*box));
  EXPECT_EQ(param.Writes(), 0);
  EXPECT_TRUE(box->hasFocus());
}

TEST_F(ValueEditTest, EnteringSelectsTheWholeText) {
  next->setFocus();
  QTest::keyClick(next, Qt::Key_Up);
  EXPECT_TRUE(box->hasFocus());
  EXPECT_TRUE(WholeTextSelected(*box));
}

struct LeavingCase {
  bool validation;
  bool bound;
  const char* shown;
  int byte;
};

class ValueEditLeavingTest : public ValueEditTest,
                             public ::testing::WithParamInterface<LeavingCase> {};

TEST_P(ValueEditLeavingTest, ValidationDecidesWhatLeavingDoesWithUnconfirmedText) {
  const LeavingCase& c = GetParam();
  box->Validation = c.validation;
  if (!c.bound) box->SetNumber(nullptr);
  int exits = 0;
  box->OnExit = [&exits](Component*) { ++exits; };
  Retype(*box, QStringLiteral("30"));
  QTest::keyClick(box, Qt::Key_Tab);
  ASSERT_FALSE(box->hasFocus());
  EXPECT_EQ(box->text().toStdString(), c.shown);
  EXPECT_EQ(param.Byte(), c.byte);
  EXPECT_EQ(box->sounds, 0);
  EXPECT_EQ(exits, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ValueEditLeavingTest, ::testing::Values(
    LeavingCase{true, true, "12", 12},     // discarded
    LeavingCase{false, true, "30", 30},    // written
    LeavingCase{true, false, "30", 12},    // no item: kept, nothing written
    LeavingCase{false, false, "30", 12}));

TEST_F(ValueEditTest, ArrowsMoveAlongTheChainAndOnKeyDownSeesZero) {
  std::vector<int> keys;
  box->OnKeyDown = [&keys](Component*, int& key, Qt::KeyboardModifiers) { keys.push_back(key); };
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_TRUE(next->hasFocus());
  QTest::keyClick(next, Qt::Key_Up);
  EXPECT_TRUE(box->hasFocus());

  box->ArrowMoveFocus = false;
  QTest::keyClick(box, Qt::Key_Down);
  EXPECT_TRUE(box->hasFocus());
  EXPECT_EQ(keys, (std::vector<int>{0, Qt::Key_Down}));
}

TEST_F(ValueEditTest, UpWithoutPrevControlGoesToThePreviousTabStop) {
  QTest::keyClick(box, Qt::Key_Up);
  EXPECT_TRUE(after->hasFocus());  // Shift+Tab from the first stop wraps round
}

TEST_F(ValueEditTest, LosingTheActiveWindowIsNotLeavingTheBox) {
  Retype(*box, QStringLiteral("30"));
  TestWindow other;
  other.ShowActive();
  EXPECT_EQ(box->text(), QStringLiteral("30"));
  EXPECT_EQ(param.Writes(), 0);
}

TEST(ValueEditWindowTest, OpeningTheWindowEntersTheFirstBoxAndSwitchingWindowsDoesNot) {
  TestWindow window;
  auto* box = new CountingEdit(nullptr, &window);
  int enters = 0, exits = 0;
  box->OnEnter = [&enters](Component*) { ++enters; };
  box->OnExit = [&exits](Component*) { ++exits; };
  window.ShowActive();
  ASSERT_TRUE(box->hasFocus());
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(box->selectedText(), box->text());
  {
    TestWindow other;
    other.ShowActive();
  }
  window.ShowActive();
  EXPECT_TRUE(box->hasFocus());
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(exits, 0);
}

// ---------------------------------------------------------------- data messages

TEST_F(ValueEditTest, InitDataReadsTheControllerAgain) {
  param.Byte() = 9;
  const int readsBefore = param.Reads();
  EXPECT_TRUE(box->InitData());
  EXPECT_EQ(box->text(), QStringLiteral("9"));
  EXPECT_EQ(param.Reads(), readsBefore + 1);
}

TEST_F(ValueEditTest, InitDataOfAFailedReadShowsTheKeptValue) {
  param.link.fail_reads = true;
  EXPECT_FALSE(box->InitData());
  EXPECT_EQ(box->text(), QStringLiteral("12"));
}

TEST_F(ValueEditTest, APacketShowsTheRawValueItPointsTo) {
  const int raw = 25;
  const int readsBefore = param.Reads();
  box->Perform(MSG_PACKET_ARRIVED, AsWParam(&raw), 0);
  EXPECT_EQ(box->text(), QStringLiteral("25"));
  EXPECT_EQ(param.item.RawValue(), 25);
  EXPECT_EQ(param.Reads(), readsBefore);
}

struct AspectCase {
  TDataDefinedAspect aspect;
  bool visibleWhileUndefined;
  bool enabledWhileUndefined;
};

class ValueEditAspectTest : public ValueEditTest,
                            public ::testing::WithParamInterface<AspectCase> {};

TEST_P(ValueEditAspectTest, DataNotDefinedChangesTheLookUntilDataArrives) {
  const AspectCase& c = GetParam();
  box->SetDataDefAspect(c.aspect);
  box->Perform(MSG_COM_ERROR, AsWParam(&param.item), 1);  // other status words do nothing
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->DataDefined());

  box->Perform(MSG_COM_ERROR, AsWParam(&param.item), 4 | 1);
  EXPECT_FALSE(box->DataDefined());
  EXPECT_EQ(box->isVisible(), c.visibleWhileUndefined);
  EXPECT_EQ(box->EditLabel()->isVisible(), c.visibleWhileUndefined);
  EXPECT_EQ(box->isEnabled(), c.enabledWhileUndefined);

  box->Perform(MSG_DATA_CHANGED, AsWParam(&param.item), 0);
  EXPECT_TRUE(box->DataDefined());
  EXPECT_TRUE(box->isVisible());
  EXPECT_TRUE(box->EditLabel()->isVisible());
  EXPECT_TRUE(box->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Aspects, ValueEditAspectTest, ::testing::Values(
    AspectCase{ddNone, true, true},
    AspectCase{ddInvisible, false, true},
    AspectCase{ddDisabled, true, false}));

TEST_F(ValueEditTest, DataTheControllerDoesNotDefineHidesTheBoxOnRead) {
  box->SetDataDefAspect(ddInvisible);
  param.link.defined[static_cast<std::size_t>(param.address)] = false;
  box->InitData();
  EXPECT_FALSE(box->isVisible());
  EXPECT_FALSE(box->EditLabel()->isVisible());
}

TEST_F(ValueEditTest, DroppingTheAspectWhileUndefinedEnablesTheBoxAgain) {
  box->SetDataDefAspect(ddDisabled);
  box->Perform(MSG_COM_ERROR, AsWParam(&param.item), 4);
  ASSERT_FALSE(box->isEnabled());
  box->SetDataDefAspect(ddNone);
  EXPECT_TRUE(box->isEnabled());
  EXPECT_FALSE(box->DataDefined());
  // Choosing an aspect again applies it to the data-defined state at once.
  box->SetDataDefAspect(ddInvisible);
  EXPECT_FALSE(box->isVisible());
}

// ---------------------------------------------------------------- references

TEST_F(ValueEditTest, RebindingMovesTheBoxToTheNewItemsList) {
  OnlineParameter other(101);
  box->SetNumber(&other.item);
  EXPECT_TRUE(param.item.NotificationList().empty());
  param.Arrive(33);
  EXPECT_EQ(box->text(), QStringLiteral("12"));
  other.Arrive(7);
  EXPECT_EQ(box->text(), QStringLiteral("7"));
}

TEST_F(ValueEditTest, ReferencesClearWhenTheirComponentsGo) {
  auto* item = new TQorNumber;
  box->SetNumber(item);
  delete item;
  EXPECT_EQ(box->Value(), nullptr);
  delete next;
  EXPECT_EQ(box->NextControl(), nullptr);
  Retype(*box, QStringLiteral("5"));
  QTest::keyClick(box, Qt::Key_Return);  // no item: the sound, nothing else
  EXPECT_EQ(box->sounds, 1);
}

TEST_F(ValueEditTest, ADestroyedBoxLeavesItsItemsList) {
  delete box;
  EXPECT_TRUE(param.item.NotificationList().empty());
  param.Arrive(3);  // nobody to tell
}

// ---------------------------------------------------------------- construction and upkeep

TEST(ValueEditConstructionTest, StartsWithTheBaseSettings) {
  TValueEditEx box;
  EXPECT_EQ(box.text(), QStringLiteral("0"));
  EXPECT_EQ(box.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_EQ(box.width(), 96);
  EXPECT_FALSE(box.AutoSize());
  EXPECT_TRUE(box.Validation);
  EXPECT_TRUE(box.ArrowMoveFocus);
  EXPECT_EQ(box.DataNotDefinedAspect(), ddNone);
  ASSERT_NE(box.EditLabel(), nullptr);
  EXPECT_EQ(box.EditLabel()->FocusControl(), &box);
  ASSERT_NE(box.Resizer(), nullptr);
  EXPECT_TRUE(box.Resizer()->Locked());
  EXPECT_EQ(box.Resizer()->Control(), &box);
}

TEST(ValueEditConstructionTest, AutoSizeFixesTheHeightToTheFont) {
  TValueEditEx box;
  box.SetAutoSize(true);
  EXPECT_EQ(box.minimumHeight(), box.maximumHeight());
  QFont big = box.font();
  big.setPixelSize(40);
  box.setFont(big);
  EXPECT_EQ(box.height(), box.sizeHint().height());
  EXPECT_EQ(box.minimumHeight(), box.height());
  box.SetAutoSize(false);
  EXPECT_EQ(box.minimumHeight(), 0);
}

TEST(ValueEditCaptionTest, TheCaptionLabelFollowsParentVisibilityAndBounds) {
  TestWindow window;
  auto* box = new TValueEditEx;
  box->SetParent(&window);
  box->EditLabel()->SetCaption(QStringLiteral("Numero Giri"));
  box->SetBounds(300, 40, 96, 24);
  window.ShowActive();
  TChildLabel* label = box->EditLabel();
  EXPECT_EQ(label->parentWidget(), &window);
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->x(), 220);  // spacing 80 to the left

  box->move(310, 40);
  EXPECT_EQ(label->x(), 230);
  box->hide();
  EXPECT_FALSE(label->isVisible());
  box->show();
  EXPECT_TRUE(label->isVisible());
}

// ---------------------------------------------------------------- resource properties

TEST(ValueEditResourceTest, EveryPublishedPropertyIsSetByName) {
  Component root;
  const std::vector<ComponentRow> rows = {
      {"GiriPerCambio", Create<TQorNumber>, {{"ValueMax", 3000.0}}},
      {"Edit1", Create<TValueEditEx>,
       {{"Value", ComponentRef{"GiriPerCambio"}},
        {"NextControl", ComponentRef{"Edit2"}},
        {"PrevControl", ComponentRef{"Edit2"}},
        {"EditLabel.Caption", std::u16string(u"Numero Giri per Cambio")},
        {"EditLabel.LabelSpacing", 530LL},
        {"EditLabel.Alignment", 1LL},
        {"Resizer.ResizingBorder", 8LL},
        {"Resizer.GridDimension", 5LL},
        {"Validation", false},
        {"ArrowMoveFocus", false},
        {"DataNotDefinedAspect", 1LL},
        {"Alignment", 0LL},
        {"AutoSize", false},
        {"Left", 586LL},
        {"Top", 40LL},
        {"Text", std::string("7")}}},
      {"Edit2", Create<TValueEditEx>, {}},
  };
  const auto errors = LoadResource(root, rows);
  EXPECT_TRUE(errors.empty());
  auto* edit1 = dynamic_cast<TValueEditEx*>(root.FindComponent("Edit1"));
  auto* edit2 = dynamic_cast<TValueEditEx*>(root.FindComponent("Edit2"));
  auto* item = dynamic_cast<TQorNumber*>(root.FindComponent("GiriPerCambio"));
  ASSERT_TRUE(edit1 && edit2 && item);
  EXPECT_EQ(edit1->Value(), item);
  EXPECT_EQ(edit1->NextControl(), edit2);
  EXPECT_EQ(edit1->PrevControl(), edit2);
  EXPECT_EQ(edit1->EditLabel()->Caption(), QStringLiteral("Numero Giri per Cambio"));
  EXPECT_EQ(edit1->EditLabel()->LabelSpacing(), 530);
  EXPECT_EQ(edit1->EditLabel()->Alignment(), taRightJustify);
  EXPECT_EQ(edit1->EditLabel()->x() + edit1->EditLabel()->width(), 586 - 530);
  EXPECT_EQ(edit1->Resizer()->GridDimension(), 5);
  EXPECT_FALSE(edit1->Validation);
  EXPECT_FALSE(edit1->ArrowMoveFocus);
  EXPECT_EQ(edit1->DataNotDefinedAspect(), ddInvisible);
  EXPECT_EQ(edit1->TextAlignment(), taLeftJustify);
  EXPECT_EQ(edit1->pos(), QPoint(586, 40));
  // Loading ends with the item taking its default, which every bound box shows.
  EXPECT_EQ(edit1->text(), QStringLiteral("0"));

  // Destroying a control clears the references the other holds.
  delete edit2;
  EXPECT_EQ(edit1->NextControl(), nullptr);
  EXPECT_EQ(edit1->PrevControl(), nullptr);
}

TEST(ValueEditResourceTest, BadValuesAreRefused) {
  TValueEditEx box;
  TQorPacketData packet;
  EXPECT_FALSE(box.SetProperty("DataNotDefinedAspect", 3LL));
  EXPECT_FALSE(box.SetProperty("Validation", 1LL));
  EXPECT_FALSE(box.SetProperty("Value", static_cast<Component*>(&packet)));
  EXPECT_FALSE(box.SetProperty("EditLabel.Left", 5LL));
  EXPECT_FALSE(box.SetProperty("Resizer.NoSuchThing", 5LL));
  EXPECT_FALSE(box.SetProperty("NoSuchProperty", true));
  EXPECT_EQ(box.DataNotDefinedAspect(), ddNone);
  EXPECT_EQ(box.Value(), nullptr);
}

}  // namespace
