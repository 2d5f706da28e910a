#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QLineEdit>
#include <QTest>

#include "ControlTestSupport.h"
#include "components/controls/ChildLabel.h"
#include "components/controls/QorComboBox.h"
#include "components/controls/Resizer.h"
#include "platform/Resource.h"

using namespace vzt;
using namespace vzt::test;

namespace {

// A bound combo box of four entries between two other controls of a shown window; the item
// holds 1.
class ComboTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prev = new QLineEdit(&window);
    combo = new TQorComboBox(nullptr, &window);
    next = new QLineEdit(&window);
    combo->SetItemsText(QStringLiteral("Standard\nDebole\nMedio\nForte"));
    combo->SetBounds(600, 50, 150, 24);
    combo->SetNumber(&param.item);
    combo->SetNextControl(next);
    combo->SetPrevControl(prev);
    combo->OnChange = [this](Component*) {
      changes.push_back({combo->currentIndex(), param.Writes()});
    };
    param.Arrive(1);
    window.ShowActive();
    combo->setFocus();
  }

  QAbstractItemView* List() const { return combo->view(); }
  void OpenList() {
    QTest::keyClick(combo, Qt::Key_Return);
    ASSERT_TRUE(combo->IsListOpen());
  }
  void ListKey(Qt::Key key) { QTest::keyClick(List(), key); }
  int Highlighted() const { return List()->currentIndex().row(); }

  struct Change {
    int index;
    int writesSoFar;
    bool operator==(const Change&) const = default;
  };

  OnlineParameter param;
  TestWindow window;
  QLineEdit* prev = nullptr;
  TQorComboBox* combo = nullptr;
  QLineEdit* next = nullptr;
  std::vector<Change> changes;
};

TEST_F(ComboTest, DataSelectsTheEntryOfTheRoundedValue) {
  param.Scale(0.1);
  struct Case {
    int raw;
    int entry;
  };
  for (Case c : {Case{26, 3}, Case{14, 1}, Case{5, 1}, Case{4, 0}, Case{90, -1}}) {
    SCOPED_TRACE(c.raw);
    param.Arrive(c.raw);
    EXPECT_EQ(combo->currentIndex(), c.entry);
    EXPECT_EQ(combo->EntryIndex(), c.raw == 90 ? 9 : c.entry);
  }
  EXPECT_TRUE(changes.empty());  // data is no choice of the user
  EXPECT_EQ(param.Writes(), 0);
}

TEST_F(ComboTest, EnterOpensTheListMovesWaitAndEnterWrites) {
  OpenList();
  EXPECT_TRUE(combo->SelectionPending());
  ListKey(Qt::Key_Down);
  EXPECT_EQ(Highlighted(), 2);
  EXPECT_EQ(param.Writes(), 0);
  ListKey(Qt::Key_Return);
  EXPECT_FALSE(combo->IsListOpen());
  EXPECT_EQ(param.Byte(), 2);
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(combo->EntryIndex(), 2);
  EXPECT_FALSE(combo->SelectionPending());
  // The owner saw the new entry before it was written.
  EXPECT_EQ(changes, (std::vector<Change>{{2, 0}}));
}

TEST_F(ComboTest, OpeningAndClosingTheListIsNeitherLeavingNorEntering) {
  int enters = 0, exits = 0;
  combo->OnEnter = [&enters](Component*) { ++enters; };
  combo->OnExit = [&exits](Component*) { ++exits; };
  OpenList();
  ListKey(Qt::Key_Down);
  ListKey(Qt::Key_Return);
  combo->showPopup();
  ListKey(Qt::Key_Escape);
  EXPECT_EQ(enters, 0);
  EXPECT_EQ(exits, 0);
  EXPECT_TRUE(combo->hasFocus());
  EXPECT_EQ(param.Byte(), 2);
}

TEST_F(ComboTest, EnterOnTheSameEntryWritesItAgain) {
  OpenList();
  ListKey(Qt::Key_Return);
  EXPECT_EQ(param.Writes(), 1);
  EXPECT_EQ(param.Byte(), 1);
}

TEST_F(ComboTest, TheOpenListWrapsRound) {
  struct Case {
    int from;
    Qt::Key key;
    int to;
  };
  for (Case c : {Case{3, Qt::Key_Down, 0}, Case{0, Qt::Key_Up, 3}}) {
    SCOPED_TRACE(c.from);
    param.Arrive(c.from);
    OpenList();
    ASSERT_EQ(Highlighted(), c.from);
    ListKey(c.key);
    EXPECT_EQ(Highlighted(), c.to);
    EXPECT_TRUE(combo->IsListOpen());
    ListKey(Qt::Key_Return);
    EXPECT_EQ(param.Byte(), c.to);
  }
}

TEST_F(ComboTest, EscapeInTheOpenListReturnsToTheEntryAndWritesNothing) {
  OpenList();
  ListKey(Qt::Key_Down);
  ListKey(Qt::Key_Down);
  ListKey(Qt::Key_Escape);
  EXPECT_FALSE(combo->IsListOpen());
  EXPECT_FALSE(combo->SelectionPending());
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(param.Writes(), 0);
  EXPECT_TRUE(combo->hasFocus());
}

TEST_F(ComboTest, LeftAndRightNeverChangeTheSelection) {
  OpenList();
  ListKey(Qt::Key_Right);
  ListKey(Qt::Key_Left);
  EXPECT_EQ(Highlighted(), 1);
  ListKey(Qt::Key_Escape);
  QTest::keyClick(combo, Qt::Key_Right);
  QTest::keyClick(combo, Qt::Key_Left);
  QTest::keyClick(combo, Qt::Key_PageDown);
  QTest::keyClick(combo, Qt::Key_PageUp);
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(param.Writes(), 0);
  EXPECT_TRUE(changes.empty());
}

TEST_F(ComboTest, AMousePickInTheListIsWrittenAtOnce) {
  combo->showPopup();
  ASSERT_TRUE(combo->IsListOpen());
  const QRect entry = List()->visualRect(List()->model()->index(3, 0));
  QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, entry.center());
  EXPECT_FALSE(combo->IsListOpen());
  EXPECT_EQ(param.Byte(), 3);
  EXPECT_EQ(combo->EntryIndex(), 3);
  EXPECT_EQ(changes, (std::vector<Change>{{3, 0}}));
}

TEST_F(ComboTest, ArrowsOfTheClosedListMoveTheFocusOrChangeAndWrite) {
  std::vector<int> keys;
  combo->OnKeyDown = [&keys](Component*, int& key, Qt::KeyboardModifiers) { keys.push_back(key); };
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_TRUE(next->hasFocus());
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Up);
  EXPECT_TRUE(prev->hasFocus());
  EXPECT_EQ(param.Writes(), 0);

  combo->setFocus();
  combo->ArrowMoveFocus = false;
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_TRUE(combo->hasFocus());
  EXPECT_EQ(param.Byte(), 2);
  QTest::keyClick(combo, Qt::Key_Up);
  EXPECT_EQ(param.Byte(), 1);
  EXPECT_EQ(keys, (std::vector<int>{0, 0, Qt::Key_Down, Qt::Key_Up}));
}

TEST_F(ComboTest, ArrowsFallBackToTheTabOrderWhenTheChainCannotTakeTheFocus) {
  next->setEnabled(false);
  auto* last = new QLineEdit(&window);
  last->show();
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_TRUE(last->hasFocus());
}

TEST_F(ComboTest, TypingTheFirstLetterSelectsAndWrites) {
  QTest::keyClicks(combo, QStringLiteral("f"));
  EXPECT_EQ(combo->currentIndex(), 3);
  EXPECT_EQ(param.Byte(), 3);
  EXPECT_EQ(combo->EntryIndex(), 3);
}

TEST_F(ComboTest, EndAndHomeOfTheClosedListWriteAtOnce) {
  QTest::keyClick(combo, Qt::Key_End);
  EXPECT_EQ(param.Byte(), 3);
  QTest::keyClick(combo, Qt::Key_Home);
  EXPECT_EQ(param.Byte(), 0);
}

TEST_F(ComboTest, LeavingClosesTheListAndWritesNothing) {
  OpenList();
  ListKey(Qt::Key_Down);
  int exits = 0;
  combo->OnExit = [&exits](Component*) { ++exits; };
  next->setFocus();
  EXPECT_FALSE(combo->IsListOpen());
  EXPECT_TRUE(next->hasFocus());
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(param.Writes(), 0);
  EXPECT_EQ(combo->currentIndex(), 1);
}

TEST_F(ComboTest, ARefusedWriteChangesNothingInTheBox) {
  param.link.fail_writes = true;
  QTest::keyClick(combo, Qt::Key_End);
  EXPECT_EQ(combo->currentIndex(), 3);
  EXPECT_EQ(param.Byte(), 1);
}

TEST_F(ComboTest, InitDataReadsAfreshAndSetsTheEntryIndex) {
  param.Byte() = 2;
  EXPECT_TRUE(combo->InitData());
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(combo->EntryIndex(), 2);
}

TEST_F(ComboTest, RefillingTheEntriesWritesNothing) {
  combo->SetItemsText(QStringLiteral("Standard\nWeak\n"));
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(1), QStringLiteral("Weak"));
  EXPECT_EQ(param.Writes(), 0);
  EXPECT_TRUE(changes.empty());
}

TEST_F(ComboTest, WithoutAnItemAChoiceOnlyMovesTheEntryIndex) {
  combo->SetNumber(nullptr);
  QTest::keyClick(combo, Qt::Key_End);
  EXPECT_EQ(combo->EntryIndex(), 3);
  EXPECT_EQ(param.Writes(), 0);
}

TEST_F(ComboTest, TheCaptionLabelFollowsTheBox) {
  TChildLabel* label = combo->ComboLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->parentWidget(), &window);
  EXPECT_TRUE(label->isVisible());
  EXPECT_EQ(label->x(), 600 - 80);
  combo->hide();
  EXPECT_FALSE(label->isVisible());
}

TEST(ComboConstructionTest, IsADropDownListWithAChainCaptionAndResizer) {
  TQorComboBox combo;
  EXPECT_FALSE(combo.isEditable());
  EXPECT_EQ(combo.Style(), csDropDownList);
  EXPECT_TRUE(combo.ArrowMoveFocus);
  ASSERT_NE(combo.ComboLabel(), nullptr);
  EXPECT_EQ(combo.ComboLabel()->FocusControl(), &combo);
  ASSERT_NE(combo.Resizer(), nullptr);
  EXPECT_TRUE(combo.Resizer()->Locked());
}

TEST(ComboResourceTest, EveryPublishedPropertyIsSetByName) {
  Component root;
  const std::vector<ComponentRow> rows = {
      {"TipoCambio", Create<TQorNumber>, {}},
      {"QorComboTipoCambio", Create<TQorComboBox>,
       {{"Value", ComponentRef{"TipoCambio"}},
        {"NextControl", ComponentRef{"Other"}},
        {"PrevControl", ComponentRef{"Other"}},
        {"ArrowMoveFocus", false},
        {"ComboLabel.Caption", std::string("Tipo Cambio")},
        {"ComboLabel.LabelSpacing", 550LL},
        {"Resizer.FixDblClick", true},
        {"Style", static_cast<long long>(csDropDownList)},
        {"Items", std::u16string(u"Decelerazione\nAccelerazione\nPartenza a Gas")},
        {"DropDownCount", 8LL},
        {"Width", 180LL}}},
      {"Other", Create<TQorComboBox>, {}},
  };
  EXPECT_TRUE(LoadResource(root, rows).empty());
  auto* combo = dynamic_cast<TQorComboBox*>(root.FindComponent("QorComboTipoCambio"));
  auto* other = dynamic_cast<TQorComboBox*>(root.FindComponent("Other"));
  ASSERT_TRUE(combo && other);
  EXPECT_EQ(combo->Value(), root.FindComponent("TipoCambio"));
  EXPECT_EQ(combo->NextControl(), other);
  EXPECT_EQ(combo->PrevControl(), other);
  EXPECT_FALSE(combo->ArrowMoveFocus);
  EXPECT_EQ(combo->ComboLabel()->Caption(), QStringLiteral("Tipo Cambio"));
  EXPECT_EQ(combo->ComboLabel()->LabelSpacing(), 550);
  EXPECT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(2), QStringLiteral("Partenza a Gas"));
  EXPECT_EQ(combo->width(), 180);
  // The item's default (0) reached the box when loading ended.
  EXPECT_EQ(combo->currentIndex(), 0);

  EXPECT_FALSE(combo->SetProperty("Style", 5LL));
  EXPECT_FALSE(combo->SetProperty("ComboLabel.Top", 1LL));
  EXPECT_FALSE(combo->SetProperty("Items", 3LL));
  delete other;
  EXPECT_EQ(combo->NextControl(), nullptr);
}

}  // namespace
