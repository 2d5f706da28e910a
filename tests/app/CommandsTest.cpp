// The main window's commands against the simulated controller through the real
// communication library: connect and its messages, disconnect, save and load.

#include <QAction>
#include <QDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "AppFixture.h"
#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "ecusim/SimulatorProcess.h"
#include "platform/NumberText.h"
#include "platform/widgets/PanelStatusBar.h"

using namespace vzt;
using vzt::test::AppFixture;

namespace {

class CommandsTest : public AppFixture {
 protected:
  void TearDown() override {
    AppFixture::TearDown();  // the library lets go of the line before the simulator stops
    unsetenv("SERQOR_DEVICE");
    SetDecimalSeparator('\0');
  }

  void StartSimulator(std::vector<std::string> args = {}) {
    SetDecimalSeparator('.');
    args.insert(args.end(), {"--eeprom", simulator.EepromPath()});
    ASSERT_TRUE(simulator.Start(args));
    setenv("SERQOR_DEVICE", simulator.LinkPath().c_str(), 1);
    Create();
    ShowMain();
  }

  void ConnectKey() {
    QTest::keyClick(form.get(), Qt::Key_C, Qt::ControlModifier);
    ProcessEvents();
  }

  bool Open() const {
    TQorConnection* c = module->QorConnection();
    return c->Loaded() && c->Link()->IsOpen() != 0;
  }

  void ExpectOneError(const QString& text, const QString& caption, MessageOwner owner) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].caption, caption);
    EXPECT_EQ(boxes[0].icon, MessageIcon::Error);
    EXPECT_EQ(boxes[0].owner, owner);
    EXPECT_EQ(boxes[0].parent, form.get());
  }

  TQorNumber& N(const char* name) { return *module->Number(name); }

  SimulatorProcess simulator;
};

// ------------------------------------------------------------------ connect

struct ConnectCase {
  const char* what;
  std::vector<std::string> args;
  // The message's text ids, joined by line feeds; none for no message.
  std::vector<int> message;
  bool connected;
};

void PrintTo(const ConnectCase& c, std::ostream* os) { *os << c.what; }

class ConnectTest : public CommandsTest, public ::testing::WithParamInterface<ConnectCase> {};

TEST_P(ConnectTest, ConnectCommandReportsTheResult) {
  StartSimulator(GetParam().args);
  ConnectKey();
  EXPECT_EQ(Open(), GetParam().connected);
  EXPECT_EQ(module->QorConnection()->Loaded(), GetParam().connected) << "a failed attempt unloads the library";
  if (GetParam().message.empty()) {
    EXPECT_TRUE(boxes.empty());
  } else {
    QStringList lines;
    for (int id : GetParam().message) lines << Text(id);
    if (GetParam().message.size() > 1) lines << "(ERR.CODE: C01)";
    ExpectOneError(lines.join('\n'), form->windowTitle(), MessageOwner::MainWindow);
  }
  PanelStatusBar& bar = *form->StatusBar();
  EXPECT_EQ(bar.PanelText(0), Text(GetParam().connected ? 9 : 10));
  EXPECT_EQ(bar.PanelText(1), GetParam().connected ? "PORT: USB" : "");
  EXPECT_EQ(form->Action("ActionConnect")->isEnabled(), !GetParam().connected);
  EXPECT_EQ(form->Action("ActionDisconnect")->isEnabled(), GetParam().connected);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(module->CurrentWaitWindow(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Controllers, ConnectTest,
    ::testing::Values(ConnectCase{"Accepted", {}, {}, true},
                      ConnectCase{"NoAnswer", {"--silent"}, {16, 17}, false},
                      ConnectCase{"OtherKind", {"--kind", "9"}, {104}, false},
                      ConnectCase{"WrongPairSaysNothing", {"--ident", "1,2"}, {}, false}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(CommandsTest, ConnectingAgainWhileConnectedChangesNothing) {
  StartSimulator();
  ConnectKey();
  ASSERT_TRUE(Open());
  form->ActionConnectExecute();  // as the configuration window's popup menu would
  ProcessEvents();
  EXPECT_TRUE(Open());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(CommandsTest, WithoutTheLibraryConnectSaysNothing) {
  Create({}, "NoSuchLinkLibrary.dll");
  ShowMain();
  ConnectKey();
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(module->QorConnection()->Loaded());
  EXPECT_EQ(form->StatusBar()->PanelText(0), "Centralina non connessa");
}

TEST_F(CommandsTest, DisconnectClosesTheLinkAndTheStatusFollows) {
  StartSimulator();
  ConnectKey();
  ASSERT_TRUE(Open());
  QTest::keyClick(form.get(), Qt::Key_D, Qt::ControlModifier);
  ProcessEvents();
  EXPECT_FALSE(Open());
  EXPECT_TRUE(module->QorConnection()->Loaded());
  EXPECT_EQ(form->StatusBar()->PanelText(0), Text(10));
  EXPECT_EQ(form->StatusBar()->PanelText(1), "");
  EXPECT_TRUE(form->Action("ActionConnect")->isEnabled());
  EXPECT_FALSE(form->Action("ActionDisconnect")->isEnabled());
}

// ------------------------------------------------------------------ save and load

TEST_F(CommandsTest, SaveThenLoadRestoresTheControllerAndTheRefresherState) {
  StartSimulator();
  ConnectKey();
  ASSERT_TRUE(Open());
  ASSERT_TRUE(N("GiriCutOff").SetInt(2000));
  ASSERT_TRUE(N("TempoSovrapposizione").SetDouble(0.6));
  const int savedCutOff = N("GiriCutOff").GetInt();
  module->DataRefresher()->SetEnabled(true);
  ASSERT_TRUE(RefresherSettlesAt(true));

  fileName = QString::fromStdString(simulator.PathOf("saved.vmx"));
  QTest::keyClick(form.get(), Qt::Key_F2);
  ASSERT_TRUE(std::filesystem::exists(simulator.PathOf("saved.vmx")));
  EXPECT_TRUE(RefresherSettlesAt(true));

  ASSERT_TRUE(N("GiriCutOff").SetInt(1000));
  ASSERT_TRUE(N("TempoSovrapposizione").SetDouble(0.2));
  module->DataRefresher()->SetEnabled(false);
  ASSERT_TRUE(RefresherSettlesAt(false));
  QTest::keyClick(form.get(), Qt::Key_F3);
  EXPECT_EQ(N("GiriCutOff").GetInt(), savedCutOff);
  EXPECT_DOUBLE_EQ(N("TempoSovrapposizione").GetDouble(), 0.6);
  EXPECT_TRUE(RefresherSettlesAt(false));
  EXPECT_EQ(asked, (std::vector{FileDialogKind::Save, FileDialogKind::Open}));
  EXPECT_TRUE(boxes.empty());

  ASSERT_TRUE(N("GiriCutOff").Load());
  EXPECT_EQ(N("GiriCutOff").GetInt(), savedCutOff) << "the controller holds the file's value";
}

TEST_F(CommandsTest, FileCommandsReportTheirFailures) {
  StartSimulator();
  ConnectKey();
  ASSERT_TRUE(Open());
  module->DataRefresher()->SetEnabled(true);
  ASSERT_TRUE(RefresherSettlesAt(true));

  fileName = QString::fromStdString(simulator.PathOf("no-such-folder/saved.vmx"));
  QTest::keyClick(form.get(), Qt::Key_F2);
  ExpectOneError(Text(96), Text(97), MessageOwner::Application);
  EXPECT_TRUE(RefresherSettlesAt(true)) << "back as it was, whatever the result";

  boxes.clear();
  const int before = N("GiriCutOff").GetInt();
  std::ofstream(simulator.PathOf("junk.vmx")) << "not a configuration file";
  fileName = QString::fromStdString(simulator.PathOf("junk.vmx"));
  QTest::keyClick(form.get(), Qt::Key_F3);
  ExpectOneError(Text(98), Text(97), MessageOwner::Application);
  EXPECT_EQ(N("GiriCutOff").GetInt(), before);
  EXPECT_TRUE(RefresherSettlesAt(true));
}

}  // namespace
