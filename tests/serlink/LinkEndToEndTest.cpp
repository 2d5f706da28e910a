// The built library and the simulator on a pseudo-terminal, through the connection
// component as the program uses them.

#include <gtest/gtest.h>

#include "ecusim/EcuParameterTable.h"
#include "serlink/HostHookRecorder.h"
#include "serlink/LinkFixture.h"
#include "serlink/LinkStatus.h"

namespace vzt {
namespace {

using test::IdentificationRecord;
using test::LinkFixture;

class LinkEndToEnd : public LinkFixture {};

TEST_F(LinkEndToEnd, LibraryReportsItsVersion) {
  StartSimulator();
  FILE_VERSION_DATA version{};
  ASSERT_TRUE(connection_.GetDllVersion(&version));
  EXPECT_EQ(version.major, 4u);
  EXPECT_EQ(version.minor, 10u);
  EXPECT_EQ(version.release, 0u);
}

// The library hands over the record as the controller sends it; judging it is the
// program's business.
struct IdentificationCase {
  const char* name;
  std::vector<std::string> args;
  std::array<unsigned char, 6> first_six;
};

void PrintTo(const IdentificationCase& c, std::ostream* out) { *out << c.name; }

class LinkIdentification : public LinkFixture,
                           public ::testing::WithParamInterface<IdentificationCase> {};

TEST_P(LinkIdentification, RecordArrivesAsTheControllerSendsIt) {
  StartSimulator(GetParam().args);
  IdentificationRecord record{};
  ASSERT_TRUE(Identify(record)) << "status " << Status();
  const auto& expected = GetParam().first_six;
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), record.begin()));
  EXPECT_EQ(link_->GetPort(), 4);
  EXPECT_EQ(link_->IsOpen(), 0) << "identification does not open the link";
}

INSTANTIATE_TEST_SUITE_P(
    Records, LinkIdentification,
    ::testing::Values(
        IdentificationCase{"PairFirst", {}, {8, 36, 24, 0, 0, 0}},
        IdentificationCase{"PairLater", {"--layout", "3"}, {8, 3, 0, 0, 36, 24}},
        IdentificationCase{"WrongKind", {"--kind", "9"}, {9, 36, 24, 0, 0, 0}},
        IdentificationCase{"WrongPair", {"--ident", "36,25"}, {8, 36, 25, 0, 0, 0}},
        IdentificationCase{"WrongPairLater", {"--layout", "3", "--ident", "24,36"},
                           {8, 3, 0, 0, 24, 36}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkEndToEnd, OpenAndCloseTellTheHostOnce) {
  StartSimulator();
  IdentificationRecord record{};
  ASSERT_TRUE(Identify(record));
  EXPECT_GT(test::ProgressMessages(), 0);
  EXPECT_EQ(test::LinkStateMessages(1), 0);
  ASSERT_NE(link_->Open(), 0);
  EXPECT_EQ(link_->IsOpen(), 1);
  EXPECT_EQ(test::LinkStateMessages(1), 1);
  link_->Close();
  EXPECT_EQ(link_->IsOpen(), 0);
  link_->Close();
  EXPECT_EQ(test::LinkStateMessages(0), 1);
  EXPECT_EQ(test::LinkStateMessages(1), 1);

  // The program connects again after a disconnect.
  Connect();
  EXPECT_EQ(test::LinkStateMessages(1), 2);
}

TEST_F(LinkEndToEnd, RefusedSessionDoesNotOpen) {
  StartSimulator({"--refuse-session"});
  IdentificationRecord record{};
  ASSERT_TRUE(Identify(record));
  EXPECT_EQ(link_->Open(), 0);
  EXPECT_EQ(Status(), LINK_STATUS_REFUSED);
  EXPECT_EQ(test::LinkStateMessages(1) + test::LinkStateMessages(0), 0);
}

// Two items share address 163: the changeover mode (bits 3-4) is written into the byte
// just read, leaving the ignition type and the emulation type as the controller has them.
TEST_F(LinkEndToEnd, MaskedReadModifyWriteReachesTheControllersMemory) {
  StartSimulator();
  Connect();
  ASSERT_TRUE(link_->WriteByAddress(0, 163, 0x28 | 0x03));  // ignition type 3
  int byte = 0;
  ASSERT_TRUE(link_->ReadByAddress(0, 163, &byte));
  constexpr int kChangeoverMask = 0x18;
  const int merged = (byte & ~kChangeoverMask) | (2 << 3);
  ASSERT_TRUE(link_->WriteByAddress(0, 163, merged));
  EXPECT_EQ(MemoryFile()[163], 0x20 | 0x10 | 0x03);
  ASSERT_TRUE(link_->ReadByAddress(0, 163, &byte));
  EXPECT_EQ(byte, 0x33);
}

TEST_F(LinkEndToEnd, LivePacketFillsOnlyWhatTheControllerSent) {
  StartSimulator();
  Connect();
  ASSERT_TRUE(link_->WriteByAddress(0, kDefaultPositionAddress, 77));
  std::array<unsigned char, 252> buffer;
  buffer.fill(0xEE);
  int size = LINK_PACKET_REQUEST_SIZE;
  ASSERT_TRUE(link_->ReadPacket(0x800, buffer.data(), &size));
  ASSERT_EQ(size, 9);
  EXPECT_EQ(buffer[5], 77) << "default position";
  EXPECT_LE(buffer[6], 2) << "lambda band";
  EXPECT_LE(buffer[7], 3) << "throttle band";
  EXPECT_GE(buffer[4], 20) << "actuator at or above the minimum aperture";
  EXPECT_LE(buffer[4], 240) << "actuator at or below the maximum aperture";
  EXPECT_TRUE(std::all_of(buffer.begin() + 9, buffer.end(), [](unsigned char b) { return b == 0xEE; }));
  EXPECT_EQ(Status(), 0);
}

TEST_F(LinkEndToEnd, UndefinedDataIsStatusFour) {
  StartSimulator();
  Connect();
  int value = -1;
  EXPECT_FALSE(link_->ReadByAddress(0, 0, &value));
  EXPECT_EQ(Status(), LINK_STATUS_NOT_DEFINED);
  EXPECT_FALSE(link_->WriteByAddress(0, 176, 1));
  EXPECT_EQ(Status(), LINK_STATUS_NOT_DEFINED);
  EXPECT_FALSE(link_->ReadElement(0x100, &value, 3));
  EXPECT_EQ(Status(), LINK_STATUS_NOT_DEFINED);
  std::array<unsigned char, 252> buffer{};
  int size = 64;
  EXPECT_FALSE(link_->ReadPacket(0x801, buffer.data(), &size));
  EXPECT_EQ(Status(), LINK_STATUS_NOT_DEFINED);
  EXPECT_EQ(value, -1);
  ASSERT_TRUE(link_->ReadByAddress(0, 216, &value));
  EXPECT_EQ(Status(), 0) << "a good transfer clears the status";
}

TEST_F(LinkEndToEnd, CheckupEightErasesTheMemory) {
  StartSimulator();
  Connect();
  ASSERT_TRUE(link_->WriteByAddress(0, 216, 3));
  ASSERT_TRUE(link_->WriteByAddress(0, 207, 200));
  EXPECT_EQ(MemoryFile()[216], 3);
  ASSERT_TRUE(link_->WriteByAddress(0, kCheckupAddress, kEraseCommand));
  int value = 0;
  ASSERT_TRUE(link_->ReadByAddress(0, 216, &value));
  EXPECT_EQ(value, 101);
  EcuMemory::Image expected = EcuMemory::FactoryImage();
  // The controller may have acquired its default meanwhile.
  expected[kDefaultAcquiredAddress] = MemoryFile()[kDefaultAcquiredAddress];
  EXPECT_EQ(MemoryFile(), expected);
}

TEST_F(LinkEndToEnd, CommandValueByRequestCodeZero) {
  StartSimulator();
  Connect();
  int value = -1;
  ASSERT_TRUE(link_->ReadValue(0, &value));
  EXPECT_EQ(value, 0);
  ASSERT_TRUE(link_->WriteValue(0, 240));
  ASSERT_TRUE(link_->ReadValue(0, &value));
  EXPECT_EQ(value, 240);
}

TEST_F(LinkEndToEnd, UnloadingAnOpenLinkClosesIt) {
  StartSimulator();
  Connect();
  connection_.UnloadDll();
  EXPECT_EQ(test::LinkStateMessages(0), 1);
  EXPECT_FALSE(connection_.Loaded());
}

}  // namespace
}  // namespace vzt
