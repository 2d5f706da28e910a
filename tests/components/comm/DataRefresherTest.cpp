#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "fixtures/FakeLink.h"
#include "platform/MainThread.h"

using namespace vzt;
using vzt::test::FakeLink;
using namespace std::chrono_literals;

namespace {

// A control-like client that records the buffers it is handed.
class PacketListener : public Component, public MessageTarget {
 public:
  LParam Perform(unsigned msg, WParam wparam, LParam) override {
    if (msg == MSG_PACKET_ARRIVED) buffers.push_back(reinterpret_cast<const std::uint32_t*>(wparam));
    return 0;
  }
  std::vector<const std::uint32_t*> buffers;
};

// Runs posted calls until `done` holds; false if it never does within a generous bound.
bool DrainUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MainThread::Instance().WaitAndProcess(5ms);
  }
  return true;
}

// Passes are run by hand in these tests: the refresher's own thread stays blocked waiting
// for the main thread, which only the test drives.
class RefreshPassTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.open = true;
    conn.AttachLink(&link);
    refresher.SetConnection(&conn);
    refresher.Thread()->SetClock([this] { return now; });
    for (int i = 0; i < 9; ++i) {
      link.packet[static_cast<std::size_t>(i)] = static_cast<unsigned char>(10 + i);
      items.push_back(std::make_unique<TQorPacketData>());
      items.back()->SetOffset(i);
      items.back()->SetTimeInterval(100);
      items.back()->SetDataRefresher(&refresher);
      items.back()->SetActive(true);
    }
    refresher.SetEnabled(true);
  }

  void Pass() { refresher.Thread()->RefreshPass(); }
  int Fetches() { return link.Count("ReadPacket"); }

  FakeLink link;
  TQorConnection conn;
  TDataRefresher refresher;
  std::vector<std::unique_ptr<TQorPacketData>> items;
  std::uint32_t now = 1000;
};

TEST_F(RefreshPassTest, OneFetchServesEveryDueItem) {
  Pass();
  EXPECT_EQ(link.calls, std::vector<std::string>{"ReadPacket 2048 size 64"});
  for (int i = 0; i < 9; ++i) EXPECT_EQ(items[static_cast<std::size_t>(i)]->RawValue(), 10 + i);
}

TEST_F(RefreshPassTest, ClientsAreServedOnlyAfterTheirIntervalHasPassed) {
  Pass();
  const std::pair<std::uint32_t, int> steps[] = {{1050, 1}, {1100, 1}, {1101, 2}, {1150, 2}};
  for (auto [time, fetches] : steps) {
    now = time;
    Pass();
    EXPECT_EQ(Fetches(), fetches) << "at " << time;
  }
}

TEST_F(RefreshPassTest, DueTimesSurviveTheTickCounterWrapping) {
  now = 0xFFFFFFC0u;
  Pass();
  now = 0x00000010u;  // 80 ms later, across the wrap
  Pass();
  EXPECT_EQ(Fetches(), 1);
  now = 0x00000030u;  // 112 ms later
  Pass();
  EXPECT_EQ(Fetches(), 2);
}

TEST_F(RefreshPassTest, SuspendedClientsWaitForReloadAllWhileEnabled) {
  for (auto& item : items) item->SetActive(false);
  Pass();
  EXPECT_EQ(Fetches(), 0);
  refresher.ReloadAll();
  EXPECT_EQ(Fetches(), 1);
  EXPECT_EQ(items[4]->RawValue(), 14);
  refresher.SetEnabled(false);
  refresher.ReloadAll();
  EXPECT_EQ(Fetches(), 1);
}

TEST_F(RefreshPassTest, ReloadAllServesClientsThatAreNotDue) {
  Pass();
  link.packet[0] = 99;
  refresher.ReloadAll();
  EXPECT_EQ(Fetches(), 2);
  EXPECT_EQ(items[0]->RawValue(), 99);
}

TEST_F(RefreshPassTest, NothingHappensWithoutAnOpenLink) {
  link.open = false;
  Pass();
  link.open = true;
  refresher.SetConnection(nullptr);
  Pass();
  refresher.SetConnection(&conn);
  conn.AttachLink(nullptr);
  Pass();
  refresher.SetEnabled(false);
  Pass();
  EXPECT_EQ(Fetches(), 0);
}

TEST_F(RefreshPassTest, FailedFetchIsRetriedByTheNextDueClientAndSparesOtherElements) {
  PacketListener control;
  refresher.AddRefresh(&control, 100, 7, -1);  // a second element: one word by code
  link.value_by_code = 1234;
  link.fail_packets = 1;
  Pass();
  // The first client's fetch failed; the second client fetched again and got it.
  EXPECT_EQ(Fetches(), 2);
  EXPECT_EQ(items[0]->RawValue(), 0);
  EXPECT_EQ(items[1]->RawValue(), 11);
  ASSERT_EQ(control.buffers.size(), 1u);
  EXPECT_EQ(static_cast<int>(control.buffers[0][0]), 1234);
  // The unserved client stays due and is served at the next pass.
  Pass();
  EXPECT_EQ(items[0]->RawValue(), 10);
  refresher.RemoveRefresh(&control, 7, -1);
}

TEST_F(RefreshPassTest, ElementsAreFetchedByCodeAndIndex) {
  TQorNumber number;
  refresher.AddRefresh(&number, 50, 3, 4);
  items.clear();
  link.calls.clear();
  Pass();
  EXPECT_EQ(link.calls, std::vector<std::string>{"ReadElement 3 4"});
  EXPECT_EQ(number.RawValue(), 4);
  refresher.RemoveRefresh(&number, 3, 4);
}

TEST_F(RefreshPassTest, BuffersAreAllocatedOncePerElement) {
  Pass();
  const auto* before = refresher.Thread()->Elements().front().buffer.data();
  PacketListener control;
  refresher.AddRefresh(&control, 100, RC_PACKET, -1);
  now = 5000;
  Pass();
  Pass();
  ASSERT_EQ(control.buffers.size(), 1u);
  (void)before;
  // Both passes handed out the same element buffer.
  now = 6000;
  Pass();
  ASSERT_EQ(control.buffers.size(), 2u);
  EXPECT_EQ(control.buffers[0], control.buffers[1]);
  refresher.RemoveRefresh(&control, RC_PACKET, -1);
}

TEST(Refresher, RegistrationBookkeeping) {
  TDataRefresher refresher;
  Component a, b;
  EXPECT_FALSE(refresher.AddRefresh(&a, 0, 1, -1));
  EXPECT_TRUE(refresher.Thread()->Elements().empty());
  EXPECT_TRUE(refresher.AddRefresh(&a, 100, 1, -1));
  EXPECT_TRUE(refresher.AddRefresh(&b, 100, 1, -1));
  EXPECT_TRUE(refresher.AddRefresh(&a, 200, 1, 2));
  ASSERT_EQ(refresher.Thread()->Elements().size(), 2u);
  EXPECT_EQ(refresher.Thread()->Elements()[0].buffer.size(), 1u);
  refresher.SuspendRefresh(&a, 1, -1);
  EXPECT_TRUE(refresher.AddRefresh(&a, 300, 1, -1));  // updates, keeps it suspended
  auto first = refresher.Thread()->Elements()[0];
  ASSERT_EQ(first.clients.size(), 2u);
  EXPECT_EQ(first.clients[0].interval, 300);
  EXPECT_FALSE(first.clients[0].active);
  refresher.RemoveRefresh(&a, 1, -1);
  refresher.RemoveRefresh(&b, 1, -1);
  ASSERT_EQ(refresher.Thread()->Elements().size(), 1u);
  EXPECT_EQ(refresher.Thread()->Elements()[0].index, 2);
  EXPECT_TRUE(refresher.AddRefresh(&b, 100, 1, -1));
  EXPECT_EQ(refresher.Thread()->Elements().size(), 2u);
  refresher.RemoveAll();
  EXPECT_TRUE(refresher.Thread()->Elements().empty());
}

TEST(Refresher, PropertiesAndConnectionLifetime) {
  TDataRefresher refresher;
  refresher.SetSleepTime(0);
  EXPECT_EQ(refresher.SleepTime(), 20);
  refresher.SetSleepTime(5);
  EXPECT_EQ(refresher.Thread()->SleepTime(), 5);
  {
    TQorConnection conn;
    refresher.SetConnection(&conn);
  }
  EXPECT_EQ(refresher.Connection(), nullptr);
  EXPECT_TRUE(refresher.SetProperty("Priority", static_cast<long long>(tpLower)));
  EXPECT_EQ(refresher.Priority(), tpLower);
}

// ------------------------------------------------------------ the thread itself

class RefreshThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    link.open = true;
    conn.AttachLink(&link);
    refresher = std::make_unique<TDataRefresher>();
    refresher->SetConnection(&conn);
    item.SetTimeInterval(20);
    item.SetDataRefresher(refresher.get());
    item.SetActive(true);
  }
  void TearDown() override {
    item.SetDataRefresher(nullptr);
    refresher.reset();
  }
  int Fetches() { return link.Count("ReadPacket"); }

  FakeLink link;
  TQorConnection conn;
  TQorPacketData item;
  std::unique_ptr<TDataRefresher> refresher;
};

TEST_F(RefreshThreadTest, ParksWhileDisabledAndRunsPassesWhileEnabled) {
  ASSERT_TRUE(DrainUntil([&] { return !refresher->GetEnabled(); }));
  EXPECT_EQ(Fetches(), 0);
  refresher->SetEnabled(true);
  // Running again the moment it is enabled, before the thread has been scheduled.
  EXPECT_TRUE(refresher->GetEnabled());
  ASSERT_TRUE(DrainUntil([&] { return Fetches() >= 3; }));
  EXPECT_TRUE(refresher->GetEnabled());
  refresher->SetEnabled(false);
  ASSERT_TRUE(DrainUntil([&] { return !refresher->GetEnabled(); }));
  const int parkedAt = Fetches();
  MainThread::Instance().WaitAndProcess(60ms);
  EXPECT_EQ(Fetches(), parkedAt);
  refresher->SetEnabled(true);
  EXPECT_TRUE(refresher->GetEnabled());
  ASSERT_TRUE(DrainUntil([&] { return Fetches() > parkedAt; }));
}

TEST_F(RefreshThreadTest, DisabledAgainBeforeItRanItParksAtItsNextTurn) {
  ASSERT_TRUE(DrainUntil([&] { return !refresher->GetEnabled(); }));
  refresher->SetEnabled(true);
  refresher->SetEnabled(false);
  ASSERT_TRUE(DrainUntil([&] { return !refresher->GetEnabled(); }));
  const int parkedAt = Fetches();
  MainThread::Instance().WaitAndProcess(60ms);
  EXPECT_EQ(Fetches(), parkedAt);
}

TEST_F(RefreshThreadTest, DestructionWhileAPassIsWaitingDoesNotDeadlock) {
  refresher->SetEnabled(true);
  // Let the thread post a pass that nobody runs yet, then destroy the refresher.
  std::this_thread::sleep_for(80ms);
  item.SetDataRefresher(nullptr);
  refresher.reset();
  SUCCEED();
}

}  // namespace
