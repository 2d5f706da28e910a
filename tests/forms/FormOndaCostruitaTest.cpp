// The wave construction dialog on a recording link: what it shows when it opens, the bytes
// the disconnected time is written as, in their order, and the Standard button.

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <sstream>

#include "FormsTestSupport.h"
#include "components/comm/Qorconnection.h"
#include "components/controls/NumericEdit.h"
#include "components/controls/ValueEditEx.h"
#include "fixtures/FakeLink.h"
#include "forms/FormOndaCostruita.h"
#include "platform/NumberText.h"

using namespace vzt;

namespace {

constexpr int kHigh = 169, kLow = 170, kTicks = 171, kWaves = 172, kPeriods = 173;

struct Write {
  int address, value;
  bool operator==(const Write&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Write& w) { return os << w.address << "=" << w.value; }

class WaveDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparator('.');
    DataModuleOptions options;
    options.host = &host;
    options.dllName = "NoLibraryHere.dll";
    options.wait = [](std::uint32_t) {};
    module = std::make_unique<TSerialDataModule>(options);
    link.open = true;
    module->QorConnection()->AttachLink(&link);
  }

  void TearDown() override {
    dialog.reset();
    module.reset();
    SetDecimalSeparator('\0');
  }

  // The controller's bytes, read as the connection reads them, then a new dialog.
  void Open(std::initializer_list<Write> bytes = {}) {
    for (const Write& b : bytes) link.memory[static_cast<std::size_t>(b.address)] = static_cast<unsigned char>(b.value);
    module->ReadAll();
    Reopen();
  }

  void Reopen() {
    dialog.reset();
    dialog = std::make_unique<TFormOndaCostruita>(*module);
    for (const ResourceError& e : dialog->ResourceErrors())
      ADD_FAILURE() << e.component << "." << e.property << ": " << e.reason;
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    link.calls.clear();
  }

  std::vector<Write> Writes() const {
    std::vector<Write> writes;
    for (const std::string& call : link.calls) {
      std::istringstream in(call);
      std::string name;
      int code = 0;
      Write w{};
      if (in >> name >> code >> w.address >> w.value && name == "WriteByAddress") writes.push_back(w);
    }
    return writes;
  }

  TNumericEdit& TimeBox() const { return *dialog->Control<TNumericEdit>("NumericEditSondaSconnessa"); }
  QString Text(const char* box) const { return dialog->Control<QLineEdit>(box)->text(); }

  test::RecordingHost host;
  test::FakeLink link;  // outlives the module, which lets it go
  std::unique_ptr<TSerialDataModule> module;
  std::unique_ptr<TFormOndaCostruita> dialog;
};

struct OpenCase {
  int periods, ticks;
  const char* shown;
};

class OpenTest : public WaveDialogTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenTest, ShowsTheTimeTheBytesHold) {
  const OpenCase& c = GetParam();
  Open({{kPeriods, c.periods}, {kTicks, c.ticks}, {kHigh, 25}, {kLow, 40}, {kWaves, 7}});
  EXPECT_EQ(TimeBox().text(), c.shown);
  EXPECT_EQ(Text("QorValEditNVolteAlto"), "0.5");
  EXPECT_EQ(Text("QorValueEditNVolteBasso"), "0.8");
  EXPECT_EQ(Text("QorValueEditNumeroOnde"), "7");
}

INSTANTIATE_TEST_SUITE_P(Bytes, OpenTest,
                         ::testing::Values(OpenCase{3, 100, "12"}, OpenCase{1, 0, "5"}, OpenCase{0, 0, "0"},
                                           OpenCase{117, 0, "599"}, OpenCase{200, 10, "1019"}));

struct EnterCase {
  const char* what;
  const char* typed;
  char separator;
  std::vector<Write> writes;
  const char* reopened;
};

void PrintTo(const EnterCase& c, std::ostream* os) { *os << c.what; }

class EnterTest : public WaveDialogTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterTest, EnterWritesPeriodsThenTicksThenPeriodsAgain) {
  const EnterCase& c = GetParam();
  SetDecimalSeparator(c.separator);
  Open();
  TNumericEdit& box = TimeBox();
  box.setFocus(Qt::TabFocusReason);
  box.selectAll();
  QTest::keyClick(&box, Qt::Key_Backspace);
  QTest::keyClicks(&box, c.typed);
  QTest::keyClick(&box, Qt::Key_Return);
  EXPECT_EQ(Writes(), c.writes);
  Reopen();
  EXPECT_EQ(TimeBox().text(), c.reopened);
}

INSTANTIATE_TEST_SUITE_P(
    Times, EnterTest,
    ::testing::Values(
        EnterCase{"One", "1", '.', {{kPeriods, 0}, {kTicks, 50}, {kPeriods, 1}}, "1"},
        EnterCase{"Zero", "0", '.', {{kPeriods, 0}, {kTicks, 0}}, "0"},
        EnterCase{"Empty", "", '.', {{kPeriods, 0}, {kTicks, 0}}, "0"},
        EnterCase{"BeyondTheLongest", "605", '.', {{kPeriods, 117}, {kTicks, 0}}, "599"},
        EnterCase{"Six", "6", '.', {{kPeriods, 1}, {kTicks, 43}, {kPeriods, 2}}, "5"},
        EnterCase{"Ten", "10", '.', {{kPeriods, 1}, {kTicks, 243}, {kPeriods, 2}}, "9"},
        EnterCase{"Eleven", "11", '.', {{kPeriods, 2}, {kTicks, 37}, {kPeriods, 3}}, "10"},
        EnterCase{"OneAndAHalfItalian", "1,5", ',', {{kPeriods, 0}, {kTicks, 75}, {kPeriods, 1}}, "1"},
        EnterCase{"OneTwentyEight", "128", '.', {{kPeriods, 24}, {kTicks, 255}, {kPeriods, 25}}, "127"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(WaveDialogTest, StandardButtonWritesTheDefaultWaveWhileTheLinkIsOpen) {
  Open({{kHigh, 50}, {kLow, 60}, {kWaves, 9}, {kTicks, 7}, {kPeriods, 3}});
  ASSERT_EQ(TimeBox().text(), "10");
  auto& standard = *dialog->Control<QAbstractButton>("ButtonStandard");

  link.open = false;
  QTest::mouseClick(&standard, Qt::LeftButton);
  EXPECT_TRUE(Writes().empty());
  EXPECT_EQ(TimeBox().text(), "10");

  link.open = true;
  QTest::mouseClick(&standard, Qt::LeftButton);
  EXPECT_EQ(Writes(), (std::vector<Write>{{kHigh, 18}, {kLow, 18}, {kWaves, 1}, {kTicks, 0}, {kPeriods, 0}}));
  EXPECT_EQ(TimeBox().text(), "0");
  EXPECT_EQ(Text("QorValEditNVolteAlto"), "0.36");
  EXPECT_EQ(Text("QorValueEditNumeroOnde"), "1");
}

TEST_F(WaveDialogTest, OkClosesWithoutWriting) {
  Open();
  dialog->hide();
  QTimer::singleShot(0, [this] { QTest::mouseClick(dialog->Control<QAbstractButton>("ButtonOK"), Qt::LeftButton); });
  EXPECT_EQ(dialog->exec(), QDialog::Accepted);
  EXPECT_TRUE(Writes().empty());
}

}  // namespace
