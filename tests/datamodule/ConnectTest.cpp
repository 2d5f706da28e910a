#include <gtest/gtest.h>

#include "DataModuleFixture.h"
#include "components/comm/DataRefresher.h"

using namespace vzt;
using vzt::test::DataModuleTest;

namespace {

class ConnectTest : public DataModuleTest {
 protected:
  void SetUp() override {
    module->Texts().TextCompleted = u"done";
    module->QorConnection()->AttachLink(&link);
  }
};

TEST_F(ConnectTest, AcceptedControllerIsReadAndItsLiveItemsArmed) {
  for (Component* c : module->Components())
    if (auto* p = dynamic_cast<TQorPacketData*>(c)) p->SetActive(false);
  link.memory[204] = 39;
  EXPECT_EQ(module->Connect(4, 0), kConnectDone);
  const std::vector<std::string> setup(link.calls.begin(), link.calls.begin() + 6);
  EXPECT_EQ(setup, (std::vector<std::string>{"SetupBegin", "SelectPort 4", "UseDefaultMode",
                                             "SetupEnd", "ReadIdentification", "Open"}));
  EXPECT_TRUE(link.open);
  EXPECT_EQ(N("GiriCutOff").GetInt(), 3000);
  for (Component* c : module->Components()) {
    if (auto* n = dynamic_cast<TQorNumber*>(c)) {
      EXPECT_TRUE(n->IsValid()) << n->Name();
    }
  }
  EXPECT_EQ(link.Count("ReadValue"), 1);
  for (Component* c : module->Components()) {
    if (auto* p = dynamic_cast<TQorPacketData*>(c)) {
      EXPECT_TRUE(p->Active()) << p->Name();
    }
  }
  EXPECT_FALSE(module->DataRefresher()->Thread()->IsEnabled());

  ASSERT_EQ(host.waits.size(), 1u);
  const auto& wait = *host.waits[0];
  EXPECT_TRUE(wait.shown && wait.animated && wait.destroyed);
  EXPECT_EQ(wait.lines.front(), u"0% done");
  EXPECT_EQ(wait.lines.back(), u"98% done");  // 76 * 100 / 77
  EXPECT_EQ(host.cursor, (std::vector<bool>{true, false}));
  EXPECT_EQ(module->CurrentWaitWindow(), nullptr);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ConnectTest, OptionsChooseTheLineModeAndTheRefresherState) {
  EXPECT_EQ(module->Connect(2, kConnectAlternateMode | kConnectRefresherOn), kConnectDone);
  EXPECT_EQ(link.Count("UseAlternateMode"), 1);
  EXPECT_EQ(link.Count("SelectPort 2"), 1);
  EXPECT_TRUE(module->DataRefresher()->Thread()->IsEnabled());
}

TEST_F(ConnectTest, AlreadyOpenLinkIsLeftAlone) {
  link.open = true;
  EXPECT_EQ(module->Connect(4, 0), kConnectAlreadyOpen);
  EXPECT_TRUE(link.calls.empty());
  EXPECT_TRUE(host.waits.empty());
}

struct RecordCase {
  const char* what;
  std::array<unsigned char, LINK_IDENTIFICATION_SIZE> record;
  bool answers;
  bool opens;
  int result;
  bool connected;
  int openCalls;
};

void PrintTo(const RecordCase& c, std::ostream* os) { *os << c.what; }

class IdentificationTest : public ConnectTest, public ::testing::WithParamInterface<RecordCase> {};

TEST_P(IdentificationTest, OnlyTheExpectedKindAndPairConnect) {
  const RecordCase& c = GetParam();
  link.identification = c.record;
  link.identification_succeeds = c.answers;
  link.open_succeeds = c.opens;
  EXPECT_EQ(module->Connect(4, 0), c.result);
  EXPECT_EQ(link.open, c.connected);
  EXPECT_EQ(module->QorConnection()->Loaded(), c.connected);  // a failure unloads
  EXPECT_EQ(link.Count("Open"), c.openCalls);
  EXPECT_TRUE(host.messages.empty());  // the command, not the routine, reports
  EXPECT_TRUE(host.waits[0]->destroyed);
  EXPECT_EQ(module->Identification()[0], c.answers ? c.record[0] : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Records, IdentificationTest,
    ::testing::Values(
        RecordCase{"PairInBytes1And2", {8, 36, 24}, true, true, kConnectDone, true, 1},
        RecordCase{"PairInBytes4And5", {8, 3, 0, 0, 36, 24}, true, true, kConnectDone, true, 1},
        RecordCase{"Layout3WithPairInBytes2And3", {8, 3, 36, 24, 0, 0}, true, true, kConnectDone, false, 0},
        RecordCase{"WrongPair", {8, 36, 25}, true, true, kConnectDone, false, 0},
        RecordCase{"OtherKind", {9, 36, 24}, true, true, kConnectWrongKind, false, 0},
        RecordCase{"NoAnswer", {8, 36, 24}, false, true, kConnectNoAnswer, false, 0},
        RecordCase{"LinkDoesNotOpen", {8, 36, 24}, true, false, kConnectDone, false, 1}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(ConnectTest, NoLibraryMeansResultZeroAndNothingShown) {
  module->QorConnection()->AttachLink(nullptr);
  EXPECT_EQ(module->Connect(4, 0), kConnectDone);
  EXPECT_TRUE(host.waits.empty());
  EXPECT_TRUE(host.cursor.empty());
}

TEST_F(ConnectTest, LibraryProgressReachesTheWaitWindow) {
  module->QorConnection()->AttachLink(nullptr);
  module->LinkMessage(MSG_LINK_PROGRESS, 10, 1);  // no wait window: ignored
  EXPECT_TRUE(host.waits.empty());

  auto window = host.CreateWaitWindow();
  window->SetCompletedText(u"ok");
  window->SetProgress(40, true);
  window->LinkProgress(10, 1);
  EXPECT_EQ(window->PercentageLine(), u"50% ok");
  window->LinkProgress(10, 0);
  EXPECT_EQ(window->PercentageLine(), u"10% ok");
  window->SetProgress(250, true);
  window->SetProgress(10, false);  // the position is a byte
  EXPECT_EQ(window->Position(), 4);
}

TEST_F(ConnectTest, DisconnectClosesAndUnloadsOnlyWhenLoaded) {
  link.open = true;
  module->Disconnect(false);
  EXPECT_FALSE(link.open);
  EXPECT_FALSE(module->QorConnection()->Loaded());
  link.calls.clear();
  module->Disconnect(false);
  EXPECT_TRUE(link.calls.empty());
}

TEST_F(DataModuleTest, PauseRefresherGivesUpAfterTwoSecondsWithOneMessage) {
  auto* refresher = module->DataRefresher();
  refresher->SetSleepTime(60000);  // the thread will sleep instead of parking
  refresher->SetEnabled(true);
  const auto start = std::chrono::steady_clock::now();
  while (refresher->Thread()->IsParked() &&
         std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_FALSE(module->PauseRefresher());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, u"Error: it's impossible to suspend the thread (33)");
  EXPECT_EQ(host.messages[0].caption, u"Comunication Error");
  EXPECT_EQ(host.messages[0].icon, MessageIcon::Error);
}

TEST_F(DataModuleTest, PauseRefresherSucceedsOnceTheThreadParks) {
  module->DataRefresher()->SetEnabled(true);
  EXPECT_TRUE(module->PauseRefresher());
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
