// The link object against a scripted line: the in-process controller model where a
// well-behaved controller will do, a rogue one where the library must defend itself.

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "ecusim/EcuController.h"
#include "serlink/LinkStatus.h"
#include "serlink/QorSerialLink.h"
#include "serlink/ScriptedPort.h"
#include "serlink/WireFrame.h"

namespace vzt {
namespace {

using test::ReplyTo;
using wire::Bytes;

constexpr const char* kDevice = "/dev/ecu";

struct Message {
  unsigned msg;
  WParam wparam;
  LParam lparam;
};

class QorSerialLinkTest : public ::testing::Test {
 protected:
  QorSerialLinkTest() {
    LinkServices services;
    services.make_port = [this] {
      auto port = std::make_unique<test::ScriptedPort>(clock_);
      port_ = port.get();
      return port;
    };
    services.candidates = [this](int) { return candidates_; };
    services.notify = [this](unsigned msg, WParam w, LParam l) { messages_.push_back({msg, w, l}); };
    services.clock = [this] { return clock_; };
    link_ = std::make_unique<QorSerialLink>(std::move(services));
    UseController(kDevice);
  }

  // The simulator's controller answers on the device.
  void UseController(const std::string& device) {
    port_->devices[device] = [this](const WireFrame& r) {
      return EncodeFrame(controller_.Handle(r, 0));
    };
  }
  void UseRogue(std::function<Bytes(const WireFrame&)> rogue) {
    port_->devices[kDevice] = [this, rogue](const WireFrame& r) {
      // Identification and sessions work; the rest is the rogue's.
      if (r.command == wire::kIdentify || r.command == wire::kOpenSession ||
          r.command == wire::kCloseSession)
        return EncodeFrame(controller_.Handle(r, 0));
      return rogue(r);
    };
  }
  void Connect(bool alternate_mode = false) {
    link_->SetupBegin(0);
    link_->SelectPort(4);
    if (alternate_mode)
      link_->UseAlternateMode();
    else
      link_->UseDefaultMode();
    link_->SetupEnd(0);
    std::array<unsigned char, LINK_IDENTIFICATION_SIZE> record{};
    ASSERT_TRUE(link_->ReadIdentification(record.data()));
    ASSERT_NE(link_->Open(), 0);
  }
  int LinkStates(LParam state) const {
    return static_cast<int>(std::count_if(messages_.begin(), messages_.end(), [state](const Message& m) {
      return m.msg == MSG_LINK_STATE && m.lparam == state;
    }));
  }

  std::uint64_t clock_ = 0;
  test::ScriptedPort* port_ = nullptr;
  std::vector<std::string> candidates_{kDevice};
  std::vector<Message> messages_;
  EcuMemory memory_;
  EcuController controller_{EcuIdentity{}, memory_};
  std::unique_ptr<QorSerialLink> link_;
};

TEST_F(QorSerialLinkTest, ConnectReportsProgressAndTheOpenLink) {
  Connect();
  EXPECT_EQ(link_->IsOpen(), 1);
  EXPECT_EQ(link_->GetPort(), 4);
  EXPECT_EQ(port_->baud, QorSerialLink::kDefaultBaud);
  ASSERT_FALSE(messages_.empty());
  EXPECT_EQ(messages_.front().msg, MSG_LINK_PROGRESS);
  EXPECT_EQ(messages_.back().msg, MSG_LINK_STATE);
  EXPECT_EQ(messages_.back().lparam, 1);
  const bool reached_opened = std::any_of(messages_.begin(), messages_.end(), [](const Message& m) {
    return m.msg == MSG_LINK_PROGRESS && m.wparam == QorSerialLink::kOpenedProgress && m.lparam == 0;
  });
  EXPECT_TRUE(reached_opened);
  int value = 0;
  EXPECT_TRUE(link_->ReadByAddress(0, 216, &value));
  EXPECT_EQ(value, 101);
  EXPECT_EQ(link_->GetStatus(), 0);
}

TEST_F(QorSerialLinkTest, AlternateModeUsesTheSlowerLine) {
  Connect(true);
  EXPECT_EQ(port_->baud, QorSerialLink::kAlternateBaud);
}

TEST_F(QorSerialLinkTest, UsbSearchTakesTheFirstDeviceThatAnswers) {
  candidates_ = {"/dev/missing", "/dev/silent", "/dev/ecu", "/dev/another"};
  port_->devices["/dev/silent"] = nullptr;
  UseController("/dev/another");
  Connect();
  EXPECT_EQ(port_->open_attempts,
            (std::vector<std::string>{"/dev/missing", "/dev/silent", "/dev/ecu"}));
}

TEST_F(QorSerialLinkTest, NoAnsweringDeviceFailsIdentification) {
  candidates_ = {"/dev/missing"};
  std::array<unsigned char, LINK_IDENTIFICATION_SIZE> record{};
  EXPECT_FALSE(link_->ReadIdentification(record.data()));
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_NOT_OPEN);
  candidates_ = {kDevice};
  port_->devices[kDevice] = nullptr;
  EXPECT_FALSE(link_->ReadIdentification(record.data()));
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_TIMEOUT);
  EXPECT_EQ(link_->IsOpen(), 0);
}

TEST_F(QorSerialLinkTest, SelectPortTakesOnlyKnownPorts) {
  link_->SelectPort(2);
  EXPECT_EQ(link_->GetPort(), 2);
  link_->SelectPort(7);
  EXPECT_EQ(link_->GetPort(), 2);
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_BAD_ARGUMENT);
}

TEST_F(QorSerialLinkTest, RefusedSessionLeavesTheLinkClosedAndSilent) {
  controller_.SetRefuseSessions(true);
  link_->SetupBegin(0);
  link_->SetupEnd(0);
  std::array<unsigned char, LINK_IDENTIFICATION_SIZE> record{};
  ASSERT_TRUE(link_->ReadIdentification(record.data()));
  EXPECT_EQ(link_->Open(), 0);
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_REFUSED);
  EXPECT_EQ(link_->IsOpen(), 0);
  EXPECT_EQ(LinkStates(1) + LinkStates(0), 0);
}

TEST_F(QorSerialLinkTest, TransfersNeedAnOpenSession) {
  int value = 0;
  EXPECT_FALSE(link_->ReadByAddress(0, 216, &value));
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_NOT_OPEN);
  EXPECT_FALSE(link_->WriteByAddress(0, 216, 1));
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_NOT_OPEN);
  EXPECT_TRUE(port_->requests.empty());
}

// Arguments the library refuses before anything goes on the wire.
TEST_F(QorSerialLinkTest, BadArgumentsSendNothing) {
  Connect();
  const std::size_t sent = port_->requests.size();
  int value = 0;
  int size = 64;
  std::array<unsigned char, 252> buffer{};
  const std::vector<std::pair<const char*, std::function<bool()>>> cases = {
      {"read into null", [&] { return link_->ReadByAddress(0, 216, nullptr); }},
      {"negative address", [&] { return link_->ReadByAddress(0, -1, &value); }},
      {"address beyond the wire", [&] { return link_->ReadByAddress(0, 65535, &value); }},
      {"value above a byte", [&] { return link_->WriteByAddress(0, 216, 256); }},
      {"negative value", [&] { return link_->WriteByAddress(0, 216, -10000002); }},
      {"negative row", [&] { return link_->ReadElement(0, &value, -1); }},
      {"negative column", [&] { return link_->WriteMatrixElement(0, 1, -1, 0); }},
      {"packet into null", [&] { return link_->ReadPacket(0x800, nullptr, &size); }},
      {"packet without size", [&] { return link_->ReadPacket(0x800, buffer.data(), nullptr); }},
      {"identification into null", [&] { return link_->ReadIdentification(nullptr); }},
  };
  for (const auto& [what, call] : cases) {
    EXPECT_FALSE(call()) << what;
    EXPECT_EQ(link_->GetStatus(), LINK_STATUS_BAD_ARGUMENT) << what;
  }
  for (int bad_size : {0, -1}) {
    size = bad_size;
    EXPECT_FALSE(link_->ReadPacket(0x800, buffer.data(), &size));
    EXPECT_EQ(link_->GetStatus(), LINK_STATUS_BAD_ARGUMENT);
  }
  EXPECT_EQ(port_->requests.size(), sent);
}

TEST_F(QorSerialLinkTest, ControllerRefusalsBecomeStatusBits) {
  struct Case {
    std::uint8_t reply;
    int status;
  };
  const Case cases[] = {{wire::kReplyNotDefined, LINK_STATUS_NOT_DEFINED},
                        {wire::kReplyRefused, LINK_STATUS_REFUSED},
                        {wire::kReplyBadRequest, LINK_STATUS_REFUSED},
                        {0x77, LINK_STATUS_REFUSED}};
  for (const Case& c : cases) {
    UseRogue([&c](const WireFrame& r) { return ReplyTo(r, {c.reply}); });
    Connect();
    int value = -5;
    EXPECT_FALSE(link_->ReadByAddress(0, 216, &value));
    EXPECT_EQ(link_->GetStatus(), c.status) << int(c.reply);
    EXPECT_EQ(value, -5);
    EXPECT_EQ(link_->IsOpen(), 1) << "a refusal is an answer: the link stays";
  }
}

TEST_F(QorSerialLinkTest, PacketReplyNeverWritesBeyondWhatWasAskedFor) {
  // The rogue sends the whole room whatever it was asked for.
  UseRogue([](const WireFrame& r) { return ReplyTo(r, wire::DataReply(Bytes(252, 0x5A))); });
  Connect();
  std::array<unsigned char, 252 + 16> buffer;
  buffer.fill(0xEE);
  int size = 64;
  EXPECT_FALSE(link_->ReadPacket(0x800, buffer.data(), &size));
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_FRAMING);
  EXPECT_EQ(size, 64);
  EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](unsigned char b) { return b == 0xEE; }));
}

TEST_F(QorSerialLinkTest, PacketRequestIsBoundedByTheBufferRoom) {
  Connect();
  std::array<unsigned char, 252> buffer{};
  int size = 1000;
  ASSERT_TRUE(link_->ReadPacket(0x800, buffer.data(), &size));
  EXPECT_EQ(size, 9);
  const auto request = wire::DecodePacketRequest(port_->requests.back().payload);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->size, 252);
}

TEST_F(QorSerialLinkTest, MalformedDataIsRefused) {
  struct Case {
    const char* what;
    Bytes reply;
  };
  const Case cases[] = {
      {"byte reply without the byte", {wire::kReplyOk}},
      {"byte reply with two bytes", {wire::kReplyOk, 1, 2}},
  };
  for (const Case& c : cases) {
    UseRogue([&c](const WireFrame& r) { return ReplyTo(r, c.reply); });
    Connect();
    int value = -5;
    EXPECT_FALSE(link_->ReadByAddress(0, 216, &value)) << c.what;
    EXPECT_EQ(link_->GetStatus(), LINK_STATUS_FRAMING) << c.what;
    EXPECT_EQ(value, -5) << c.what;
  }
}

TEST_F(QorSerialLinkTest, ShortIdentificationIsRefused) {
  port_->devices[kDevice] = [](const WireFrame& r) {
    return ReplyTo(r, wire::DataReply(Bytes{8, 36, 24}));
  };
  std::array<unsigned char, LINK_IDENTIFICATION_SIZE> record;
  record.fill(0xEE);
  EXPECT_FALSE(link_->ReadIdentification(record.data()));
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_FRAMING);
  EXPECT_EQ(record[0], 0xEE);
}

TEST_F(QorSerialLinkTest, SilentControllerIsTakenAsLostAfterSomeTransfers) {
  Connect();
  port_->devices[kDevice] = nullptr;
  int value = 0;
  for (int i = 0; i < QorSerialLink::kSilentTransfersForLoss; ++i) {
    EXPECT_EQ(LinkStates(0), 0) << "lost too early, after " << i << " transfers";
    EXPECT_FALSE(link_->ReadByAddress(0, 216, &value));
    EXPECT_EQ(link_->GetStatus(), LINK_STATUS_TIMEOUT);
  }
  EXPECT_EQ(LinkStates(0), 1);
  EXPECT_EQ(link_->IsOpen(), 0);
  const std::size_t sent = port_->requests.size();
  EXPECT_FALSE(link_->ReadByAddress(0, 216, &value));
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_NOT_OPEN);
  link_->Close();
  EXPECT_EQ(port_->requests.size(), sent);
  EXPECT_EQ(LinkStates(0), 1);
}

TEST_F(QorSerialLinkTest, AnswerInBetweenKeepsASlowControllerLinked) {
  Connect();
  int value = 0;
  for (int round = 0; round < 3; ++round) {
    port_->devices[kDevice] = nullptr;
    for (int i = 0; i + 1 < QorSerialLink::kSilentTransfersForLoss; ++i)
      EXPECT_FALSE(link_->ReadByAddress(0, 216, &value));
    UseController(kDevice);
    EXPECT_TRUE(link_->ReadByAddress(0, 216, &value));
  }
  EXPECT_EQ(link_->IsOpen(), 1);
  EXPECT_EQ(LinkStates(0), 0);
}

TEST_F(QorSerialLinkTest, UnpluggedDeviceClosesTheLinkOnce) {
  Connect();
  port_->unplugged = true;
  EXPECT_FALSE(link_->WriteByAddress(0, 216, 3));
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_NOT_OPEN | LINK_STATUS_DEVICE_LOST);
  EXPECT_EQ(link_->IsOpen(), 0);
  int value = 0;
  EXPECT_FALSE(link_->ReadByAddress(0, 216, &value));
  EXPECT_EQ(link_->GetStatus(), LINK_STATUS_NOT_OPEN);
  link_->Close();
  link_->ReleaseLink();
  EXPECT_EQ(LinkStates(0), 1);
}

TEST_F(QorSerialLinkTest, CloseEndsTheSessionOnce) {
  Connect();
  link_->Close();
  EXPECT_FALSE(controller_.SessionOpen());
  EXPECT_EQ(link_->IsOpen(), 0);
  link_->Close();
  EXPECT_EQ(LinkStates(1), 1);
  EXPECT_EQ(LinkStates(0), 1);
}

}  // namespace
}  // namespace vzt
