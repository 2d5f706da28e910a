// The library on a bad line: lost and damaged frames, a silent controller, a device that
// disappears. Nothing may hang, crash or end with a wrong value.

#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "ecusim/EcuParameterTable.h"
#include "serlink/HostHookRecorder.h"
#include "serlink/LinkFixture.h"
#include "serlink/LinkStatus.h"
#include "serlink/ProtocolClient.h"
#include "serlink/QorSerialLink.h"
#include "serlink/WireFrame.h"

namespace vzt {
namespace {

using Clock = std::chrono::steady_clock;
using test::IdentificationRecord;

// The longest a transfer may take before it gives up, as docs/protocol.md gives it.
std::chrono::milliseconds TransferBound(std::size_t request_payload, std::size_t reply_payload) {
  const TransferTiming timing{QorSerialLink::kDefaultBaud, QorSerialLink::kTransferAttempts, 150};
  const int attempt = timing.AttemptTimeoutMs(EncodedFrameSize(request_payload),
                                              EncodedFrameSize(reply_payload));
  return std::chrono::milliseconds(attempt * timing.attempts);
}

// Room for a loaded machine; the bound itself is what is checked, not the speed.
constexpr std::chrono::milliseconds kSlack{3000};

std::set<unsigned> DefinedAddresses() {
  std::set<unsigned> addresses;
  for (const EcuParameter& p : EcuParameters()) addresses.insert(p.address);
  return addresses;
}

class LinkFaults : public test::LinkFixture {};

TEST_F(LinkFaults, LossyLineStillEndsWithExactValues) {
  StartSimulator({"--drop-rate", "0.05", "--corrupt-rate", "0.05", "--seed", "7"});
  Connect();
  const EcuMemory::Image factory = EcuMemory::FactoryImage();
  EcuMemory::Image expected = factory;
  for (unsigned address : DefinedAddresses()) {
    int value = -1;
    ASSERT_TRUE(link_->ReadByAddress(0, static_cast<int>(address), &value))
        << "read " << address << " status " << Status();
    // The controller sets the acquired-default bit by itself after a few seconds.
    const int running_bits = address == kDefaultAcquiredAddress ? kDefaultAcquiredBit : 0;
    EXPECT_EQ(value & ~running_bits, factory[address]) << "address " << address;

    const int written = (factory[address] ^ 0x5A) | running_bits;
    ASSERT_TRUE(link_->WriteByAddress(0, static_cast<int>(address), written))
        << "write " << address << " status " << Status();
    ASSERT_TRUE(link_->ReadByAddress(0, static_cast<int>(address), &value))
        << "read back " << address << " status " << Status();
    EXPECT_EQ(value, written) << "address " << address;
    expected[address] = static_cast<std::uint8_t>(written);
  }
  EXPECT_EQ(MemoryFile(), expected);
  EXPECT_EQ(link_->IsOpen(), 1);
  EXPECT_EQ(test::LinkStateMessages(0), 0);
}

TEST_F(LinkFaults, SilentControllerFailsIdentificationWithinTheBound) {
  StartSimulator({"--silent"});
  IdentificationRecord record{};
  const auto start = Clock::now();
  EXPECT_FALSE(Identify(record));
  const auto took = Clock::now() - start;
  EXPECT_EQ(Status(), LINK_STATUS_TIMEOUT);
  EXPECT_LT(took, TransferBound(0, 1 + LINK_IDENTIFICATION_SIZE) + kSlack);
  EXPECT_EQ(link_->Open(), 0);
  EXPECT_EQ(test::LinkStateMessages(1), 0);
}

TEST_F(LinkFaults, UnpluggedDeviceFailsTransfersAndTellsTheHostOnce) {
  StartSimulator({"--unplug-after-ms", "3000"});
  Connect();
  int value = 0;
  ASSERT_TRUE(link_->ReadByAddress(0, 216, &value));
  ASSERT_TRUE(simulator_.WaitExit(20000)) << "the simulator did not unplug";

  const auto start = Clock::now();
  EXPECT_FALSE(link_->ReadByAddress(0, 216, &value));
  EXPECT_LT(Clock::now() - start, TransferBound(2, 2) + kSlack);
  EXPECT_TRUE(Status() & LINK_STATUS_NOT_OPEN) << Status();
  EXPECT_EQ(link_->IsOpen(), 0);
  EXPECT_EQ(test::LinkStateMessages(0), 1);

  EXPECT_FALSE(link_->WriteByAddress(0, 216, 1));
  EXPECT_EQ(Status(), LINK_STATUS_NOT_OPEN);
  link_->Close();
  EXPECT_EQ(test::LinkStateMessages(0), 1);
}

TEST_F(LinkFaults, ReconnectAfterUnplugFindsNothingAndDoesNotHang) {
  StartSimulator({"--unplug-after-ms", "3000"});
  Connect();
  ASSERT_TRUE(simulator_.WaitExit(20000));
  IdentificationRecord record{};
  EXPECT_FALSE(Identify(record));
  EXPECT_TRUE(Status() & LINK_STATUS_NOT_OPEN) << Status();
  EXPECT_EQ(test::LinkStateMessages(0), 1);
  EXPECT_EQ(link_->Open(), 0);
  EXPECT_EQ(Status(), LINK_STATUS_NOT_OPEN);
}

}  // namespace
}  // namespace vzt
