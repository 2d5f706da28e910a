#include <gtest/gtest.h>

#include <memory>

#include "TestItem.h"
#include "components/comm/DataRefresher.h"
#include "components/data/SerialData.h"

using namespace vzt;
using vzt::test::RecordingListener;

namespace {

// A packet buffer: the size word, then the data bytes.
std::array<std::uint32_t, 64> Packet(std::initializer_list<unsigned char> data) {
  std::array<std::uint32_t, 64> words{};
  words[0] = 64;
  auto* bytes = reinterpret_cast<unsigned char*>(words.data()) + 4;
  std::size_t i = 0;
  for (unsigned char b : data) bytes[i++] = b;
  return words;
}

TEST(PacketData, StartsAsAReadOnlyPacketItem) {
  TQorPacketData item;
  EXPECT_EQ(item.RequestCode(), RC_PACKET);
  EXPECT_TRUE(item.ReadOnly);
  EXPECT_EQ(item.TimeInterval(), 1000);
  EXPECT_FALSE(item.Reload());
  EXPECT_FALSE(item.Download());
  EXPECT_FALSE(item.ResetDefault(true));
  EXPECT_FALSE(item.WriteToFile(nullptr));
}

TEST(PacketData, TakesItsValueAtTheOffsetAfterTheSizeWord) {
  struct Case {
    int offset, length;
    bool isSigned;
    int raw;
  };
  auto buffer = Packet({10, 20, 30, 0xFE, 0xFF});
  for (const Case& c : {Case{2, 1, false, 30}, Case{0, 1, false, 10}, Case{3, 2, true, -2},
                        Case{3, 2, false, 0xFFFE}, Case{3, 1, true, -2}}) {
    TQorPacketData item;
    RecordingListener listener;
    item.AddNotificationList(&listener);
    item.SetDataLength(c.length);
    item.SetDataSigned(c.isSigned);
    item.SetOffset(c.offset);
    item.UpdateData(buffer.data());
    EXPECT_EQ(item.RawValue(), c.raw) << c.offset;
    EXPECT_EQ(listener.received.size(), 1u);
  }
}

TEST(PacketData, OffsetMustLeaveTheValueInsideThePacket) {
  TQorPacketData item;
  item.SetOffset(251);
  EXPECT_EQ(item.Offset(), 251);
  item.SetOffset(252);
  item.SetOffset(-1);
  EXPECT_EQ(item.Offset(), 251);
  item.SetDataLength(2);  // the value would now end past the room: nothing is read
  auto buffer = Packet({});
  item.UpdateData(buffer.data());
  EXPECT_EQ(item.RawValue(), 0);
}

TEST(PacketData, InitDataShowsAUserValue) {
  TQorPacketData item;
  RecordingListener listener;
  item.AddNotificationList(&listener);
  item.SetTransformationType(ttFormula);
  item.SetCoeffsList({4, -4, 0, 1000});
  item.InitData(0);
  EXPECT_EQ(item.RawValue(), 1);
  EXPECT_EQ(listener.received.size(), 1u);
  EXPECT_EQ(item.GetInt(), 0);
}

// Registration with a refresher.
class PacketRegistrationTest : public ::testing::Test {
 protected:
  int Registrations() {
    int n = 0;
    for (const auto& e : refresher.Thread()->Elements())
      for (const auto& c : e.clients) n += c.client == &item ? 1 : 0;
    return n;
  }
  const REFRESH_CLIENT* Client(int code) {
    elements = refresher.Thread()->Elements();
    for (const auto& e : elements)
      if (e.code == code)
        for (const auto& c : e.clients)
          if (c.client == &item) return &c;
    return nullptr;
  }
  TDataRefresher refresher;
  TQorPacketData item;
  std::vector<REFRESH_ELEMENT> elements;
};

TEST_F(PacketRegistrationTest, RefresherRegistersAndActiveSuspendsOrResumes) {
  item.SetActive(true);
  item.SetDataRefresher(&refresher);
  ASSERT_NE(Client(RC_PACKET), nullptr);
  EXPECT_TRUE(Client(RC_PACKET)->active);
  item.SetActive(false);
  EXPECT_FALSE(Client(RC_PACKET)->active);
  EXPECT_TRUE(item.Registered());
  item.SetActive(true);
  EXPECT_TRUE(Client(RC_PACKET)->active);
  EXPECT_EQ(Registrations(), 1);
}

TEST_F(PacketRegistrationTest, TimeIntervalUpdatesTheRegistration) {
  item.SetDataRefresher(&refresher);
  item.SetTimeInterval(10);
  EXPECT_EQ(item.TimeInterval(), 1000);
  item.SetTimeInterval(100);
  EXPECT_EQ(Client(RC_PACKET)->interval, 100);
  EXPECT_EQ(Client(RC_PACKET)->last_time, 0u);
}

TEST_F(PacketRegistrationTest, SerialCodeChangeMovesTheRegistration) {
  item.SetDataRefresher(&refresher);  // inactive: registered, suspended
  item.SetSerialCode(5);
  EXPECT_EQ(Registrations(), 1);
  ASSERT_NE(Client(RC_PACKET | 5), nullptr);
  EXPECT_FALSE(Client(RC_PACKET | 5)->active);
  EXPECT_EQ(Client(RC_PACKET), nullptr);
}

TEST_F(PacketRegistrationTest, AnotherRefresherTakesOverTheRegistration) {
  TDataRefresher other;
  item.SetDataRefresher(&refresher);
  item.SetDataRefresher(&other);
  EXPECT_EQ(Registrations(), 0);
  EXPECT_EQ(other.Thread()->Elements().size(), 1u);
  item.SetDataRefresher(nullptr);
  EXPECT_TRUE(other.Thread()->Elements().empty());
}

TEST(PacketData, DestroyedRefresherLeavesTheItemInactiveAndUnregistered) {
  TQorPacketData item;
  {
    TDataRefresher refresher;
    item.SetDataRefresher(&refresher);
    item.SetActive(true);
  }
  EXPECT_EQ(item.DataRefresher(), nullptr);
  EXPECT_FALSE(item.Active());
  EXPECT_FALSE(item.Registered());
}

TEST(PacketData, DestroyedItemLeavesTheRefresher) {
  TDataRefresher refresher;
  {
    TQorPacketData item;
    item.SetDataRefresher(&refresher);
  }
  EXPECT_TRUE(refresher.Thread()->Elements().empty());
}

}  // namespace
