#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "ControlTestSupport.h"
#include "components/controls/NumericEdit.h"
#include "platform/NumberText.h"
#include "platform/Resource.h"

using namespace vzt;
using namespace vzt::test;

namespace {

bool WholeTextSelected(const QLineEdit& edit) {
  return edit.hasSelectedText() && edit.selectedText() == edit.text();
}

struct EnterCase {
  const char* name;
  char separator;
  double precision, min, max;
  bool disableLimit;
  const char* typed;
  const char* shown;
};

std::ostream& operator<<(std::ostream& os, const EnterCase& c) { return os << c.name; }

class NumericEnterTest : public ::testing::TestWithParam<EnterCase> {};

TEST_P(NumericEnterTest, EnterLimitsRoundsAndKeepsTheValue) {
  const EnterCase& c = GetParam();
  SeparatorGuard guard(c.separator);
  TestWindow window;
  auto* box = new TNumericEdit(nullptr, &window);
  box->SetPrecision(c.precision);
  box->SetMaxValue(c.max);
  box->SetMinValue(c.min);
  box->DisableLimit = c.disableLimit;
  box->SetDouble(12);
  window.ShowActive();
  box->setFocus();
  ASSERT_TRUE(WholeTextSelected(*box));

  if (*c.typed == '\0')
    QTest::keyClick(box, Qt::Key_Backspace);
  else
    QTest::keyClicks(box, QString::fromUtf8(c.typed));
  QTest::keyClick(box, Qt::Key_Return);

  EXPECT_EQ(box->text().toStdString(), c.shown);
  EXPECT_EQ(box->LastValue(), TextToFloat(c.shown).value_or(-1));
  EXPECT_TRUE(WholeTextSelected(*box));  // no next control: the text is selected
  EXPECT_TRUE(box->hasFocus());
}

INSTANTIATE_TEST_SUITE_P(LimitsAndSteps, NumericEnterTest, ::testing::Values(
    EnterCase{"above the upper limit", ',', 0.01, 0, 600, false, "700", "600"},
    EnterCase{"rounded to the step", ',', 0.01, 0, 600, false, "1,234", "1,23"},
    EnterCase{"halfway goes up", ',', 0.5, 0, 0, false, "0,25", "0,5"},
    EnterCase{"down to the nearer step", ',', 0.5, 0, 0, false, "0,2", "0"},
    EnterCase{"up to the nearer step", ',', 0.5, 0, 0, false, "0,3", "0,5"},
    EnterCase{"below the lower limit", ',', 0, -5, 10, false, "-8", "-5"},
    EnterCase{"no limits, no step", ',', 0, 0, 0, false, "12345,678", "12345,678"},
    EnterCase{"limits switched off", ',', 0, 0, 600, true, "-700", "-700"},
    EnterCase{"English separator", '.', 0.01, 0, 600, false, "1.234", "1.23"}));

INSTANTIATE_TEST_SUITE_P(Filter, NumericEnterTest, ::testing::Values(
    EnterCase{"whole step takes no separator", ',', 1, 0, 0, false, "2,5", "25"},
    EnterCase{"Italian settings drop the point", ',', 0.01, 0, 600, false, "1.5", "15"},
    EnterCase{"English settings drop the comma", '.', 0.01, 0, 600, false, "1,5", "15"},
    EnterCase{"one separator only", ',', 0.01, 0, 600, false, "1,2,3", "1,23"},
    EnterCase{"no minus above zero", ',', 0, 0, 600, false, "-5", "5"},
    EnterCase{"minus once with limits off", ',', 0, 0, 600, true, "--5", "-5"},
    EnterCase{"letters and plus dropped", ',', 0, 0, 0, false, "a+4 b", "4"}));

INSTANTIATE_TEST_SUITE_P(NoNumber, NumericEnterTest, ::testing::Values(
    EnterCase{"empty text", ',', 0.01, 0, 600, false, "", "12"},
    // the last value 12 was limited to 10 when it was set
    EnterCase{"minus alone", ',', 0, -5, 10, false, "-", "10"}));

// A chain of three numeric boxes in a shown window, the middle one hidden.
class NumericChainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    first = new TNumericEdit(nullptr, &window);
    middle = new TNumericEdit(nullptr, &window);
    last = new TNumericEdit(nullptr, &window);
    other = new QLineEdit(&window);
    first->SetNextControl(middle);
    middle->SetNextControl(last);
    last->SetPrevControl(middle);
    middle->SetPrevControl(first);
    window.ShowActive();
    middle->hide();
    first->setFocus();
  }

  TestWindow window;
  TNumericEdit* first = nullptr;
  TNumericEdit* middle = nullptr;
  TNumericEdit* last = nullptr;
  QLineEdit* other = nullptr;
};

TEST_F(NumericChainTest, TheChainSkipsNumericBoxesThatCannotTakeTheFocus) {
  QTest::keyClick(first, Qt::Key_Down);
  EXPECT_TRUE(last->hasFocus());
  QTest::keyClick(last, Qt::Key_Up);
  EXPECT_TRUE(first->hasFocus());
  QTest::keyClicks(first, QStringLiteral("5"));
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(last->hasFocus());
  EXPECT_EQ(first->text(), QStringLiteral("5"));
}

TEST_F(NumericChainTest, UpWithoutPrevControlDoesNothingAndIsConsumed) {
  std::vector<int> keys;
  first->OnKeyDown = [&keys](Component*, int& key, Qt::KeyboardModifiers) { keys.push_back(key); };
  QTest::keyClick(first, Qt::Key_Up);
  EXPECT_TRUE(first->hasFocus());
  EXPECT_EQ(keys, std::vector<int>{0});
}

TEST_F(NumericChainTest, AnotherControlThatCannotTakeTheFocusEndsTheChain) {
  other->hide();
  first->SetNextControl(other);
  EXPECT_EQ(first->GetNextControl(), nullptr);
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(first->hasFocus());  // never the window's tab order
  EXPECT_TRUE(WholeTextSelected(*first));
}

TEST_F(NumericChainTest, ALoopOfBoxesThatCannotTakeTheFocusHasNoTarget) {
  last->hide();
  last->SetNextControl(middle);  // first -> middle -> last -> middle -> ...
  EXPECT_EQ(first->GetNextControl(), nullptr);
  middle->SetPrevControl(last);
  last->SetPrevControl(middle);
  EXPECT_EQ(last->GetPrevControl(), nullptr);
  QTest::keyClick(first, Qt::Key_Down);
  EXPECT_TRUE(first->hasFocus());
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(first->hasFocus());
  EXPECT_TRUE(WholeTextSelected(*first));
}

TEST_F(NumericChainTest, ALoopBackToAVisibleBoxEndsThere) {
  last->hide();
  last->SetNextControl(first);
  EXPECT_EQ(first->GetNextControl(), first);
}

TEST_F(NumericChainTest, ReferencesClearWhenSetToNoneOrDestroyed) {
  first->SetNextControl(nullptr);
  EXPECT_EQ(first->NextControlRef(), nullptr);
  EXPECT_EQ(first->GetNextControl(), nullptr);
  delete middle;
  EXPECT_EQ(last->PrevControlRef(), nullptr);
}

// One numeric box holding 12 between two line edits of a shown window.
class NumericEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    box = new TNumericEdit(nullptr, &window);
    after = new QLineEdit(&window);
    box->SetPrecision(0.01);
    box->SetMaxValue(600);
    box->SetDouble(12);
    window.ShowActive();
    box->setFocus();
  }

  SeparatorGuard italian{','};
  TestWindow window;
  TNumericEdit* box = nullptr;
  QLineEdit* after = nullptr;
};

TEST_F(NumericEditTest, EscapeShowsTheLastValueSelected) {
  QTest::keyClicks(box, QStringLiteral("55"));
  QTest::keyClick(box, Qt::Key_Escape);
  EXPECT_EQ(box->text(), QStringLiteral("12"));
  EXPECT_TRUE(WholeTextSelected(*box));
}

TEST_F(NumericEditTest, ValidationDecidesWhatLeavingDoes) {
  struct Case {
    bool validation;
    const char* typed;
    const char* shown;
  };
  for (Case c : {Case{true, "55", "12"}, Case{false, "55", "55"}, Case{false, "700,456", "600"},
                 Case{false, "3,456", "3,46"}}) {
    SCOPED_TRACE(c.typed);
    box->SetDouble(12);
    box->Validation = c.validation;
    box->setFocus();
    QTest::keyClicks(box, QString::fromUtf8(c.typed));
    QTest::keyClick(box, Qt::Key_Tab);
    ASSERT_TRUE(after->hasFocus());
    EXPECT_EQ(box->text().toStdString(), c.shown);
  }
}

TEST_F(NumericEditTest, TheOwnersKeyDownSeesEnterBeforeTheTextIsNormalised) {
  QStringList seen;
  box->OnKeyDown = [this, &seen](Component*, int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Return) seen << box->text();
  };
  QTest::keyClicks(box, QStringLiteral("1,234"));
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(seen, QStringList{QStringLiteral("1,234")});
  EXPECT_EQ(box->text(), QStringLiteral("1,23"));
}

TEST_F(NumericEditTest, EnteringNormalisesTheTextAndTakesItAsTheLastValue) {
  after->setFocus();
  box->setText(QStringLiteral("0042,5"));
  box->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(box->text(), QStringLiteral("42,5"));
  EXPECT_EQ(box->LastValue(), 42.5);
  after->setFocus();
  box->setText(QStringLiteral("-"));
  box->setFocus(Qt::TabFocusReason);
  EXPECT_EQ(box->text(), QStringLiteral("42,5"));
}

TEST_F(NumericEditTest, ReadingTheValueChangesNothing) {
  QTest::keyClicks(box, QStringLiteral("700"));
  EXPECT_EQ(box->GetDouble(), 600);
  EXPECT_EQ(box->text(), QStringLiteral("700"));
  EXPECT_EQ(box->LastValue(), 12);
}

TEST_F(NumericEditTest, SetDoubleShowsALimitUnrounded) {
  box->SetPrecision(7);
  box->SetDouble(1000);
  EXPECT_EQ(box->text(), QStringLiteral("600"));
  box->SetDouble(100);
  EXPECT_EQ(box->text(), QStringLiteral("98"));
}

TEST(NumericLimitTest, ALimitThatWouldCrossTheOtherIsRefused) {
  TNumericEdit box;
  box.SetLimit(2, 10);
  EXPECT_EQ(box.MinValue(), 0);
  box.SetLimit(1, 600);
  box.SetLimit(2, 10);
  EXPECT_EQ(box.MinValue(), 10);
  box.SetLimit(1, 5);
  EXPECT_EQ(box.MaxValue(), 600);
  EXPECT_EQ(box.GetLimit(1), 600);
  EXPECT_EQ(box.GetLimit(2), 10);
  EXPECT_EQ(box.GetLimit(7), 10);
  box.SetLimit(7, -3);  // any index but 1 is the lower limit
  EXPECT_EQ(box.MinValue(), -3);
}

TEST(NumericResourceTest, TheWaveDialogsBoxIsSetByName) {
  Component root;
  std::vector<std::string> keys;
  const TKeyEvent onKeyDown = [&keys](Component* sender, int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Return) keys.push_back(sender->Name());
  };
  const std::vector<ComponentRow> rows = {
      {"QorValueEditNVolteBasso", Create<TNumericEdit>, {}},
      {"NumericEditSondaSconnessa", Create<TNumericEdit>,
       {{"Text", std::string("0")},
        {"Precision", 0.01},
        {"MaxValue", 600LL},
        {"MinValue", 0LL},
        {"NextControl", ComponentRef{"QorValueEditNumeroOnde"}},
        {"PrevControl", ComponentRef{"QorValueEditNVolteBasso"}},
        {"VisibilityLevel", 90LL},
        {"DataCode", 5LL},
        {"OnKeyDown", MethodRef{"NumericEditSondaSconnessaKeyDown", onKeyDown}}}},
      {"QorValueEditNumeroOnde", Create<TNumericEdit>, {}},
  };
  EXPECT_TRUE(LoadResource(root, rows).empty());
  auto* box = dynamic_cast<TNumericEdit*>(root.FindComponent("NumericEditSondaSconnessa"));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->GetPrecision(), 0.01);
  EXPECT_EQ(box->MaxValue(), 600);
  EXPECT_EQ(box->NextControlRef(), dynamic_cast<QWidget*>(root.FindComponent("QorValueEditNumeroOnde")));
  EXPECT_EQ(box->PrevControlRef(), dynamic_cast<QWidget*>(root.FindComponent("QorValueEditNVolteBasso")));
  EXPECT_EQ(box->VisibilityLevel(), 90);
  EXPECT_EQ(box->DataCode, 5);
  EXPECT_EQ(box->DataIndex, -1);
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(keys, std::vector<std::string>{"NumericEditSondaSconnessa"});

  box->SetProperty("VisibilityLevel", 101LL);
  EXPECT_FALSE(box->SetProperty("OnKeyDown", MethodRef{"wrong type", TNotifyEvent{}}));
  EXPECT_EQ(box->VisibilityLevel(), 90);
}

}  // namespace
