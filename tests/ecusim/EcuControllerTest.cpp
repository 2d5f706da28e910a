#include <gtest/gtest.h>

#include "ecusim/EcuController.h"
#include "ecusim/EcuParameterTable.h"
#include "ecusim/EngineModel.h"

namespace vzt {
namespace {

using wire::Bytes;

class EcuControllerTest : public ::testing::Test {
 protected:
  Bytes Ask(std::uint8_t command, const Bytes& payload = {}, std::uint64_t ms = 0) {
    const WireFrame reply = controller_.Handle({sequence_, command, payload}, ms);
    EXPECT_EQ(reply.sequence, sequence_);
    EXPECT_EQ(reply.command, wire::ReplyCommand(command));
    ++sequence_;
    return reply.payload;
  }
  void OpenSession() { ASSERT_EQ(Ask(wire::kOpenSession), Bytes{wire::kReplyOk}); }
  Bytes ReadAddress(std::uint16_t address) {
    return Ask(wire::kReadAddress, wire::EncodeAddress(address));
  }
  Bytes WriteAddress(std::uint16_t address, std::uint8_t value, std::uint64_t ms = 0) {
    return Ask(wire::kWriteAddress, wire::EncodeAddressWrite({address, value}), ms);
  }

  EcuMemory memory_;
  EcuController controller_{EcuIdentity{}, memory_};
  std::uint8_t sequence_ = 1;
  int changes_ = 0;
};

TEST_F(EcuControllerTest, MemoryAndLiveDataNeedASession) {
  const Bytes refused{wire::kReplyRefused};
  EXPECT_EQ(ReadAddress(216), refused);
  EXPECT_EQ(WriteAddress(216, 1), refused);
  EXPECT_EQ(Ask(wire::kReadPacket, wire::EncodePacketRequest({0x800, 64})), refused);
  EXPECT_EQ(memory_.Read(216), 101);
  OpenSession();
  EXPECT_EQ(ReadAddress(216), (Bytes{wire::kReplyOk, 101}));
  EXPECT_EQ(Ask(wire::kCloseSession), Bytes{wire::kReplyOk});
  EXPECT_EQ(ReadAddress(216), refused);
}

TEST_F(EcuControllerTest, RefusedSessionStaysClosed) {
  controller_.SetRefuseSessions(true);
  EXPECT_EQ(Ask(wire::kOpenSession), Bytes{wire::kReplyRefused});
  EXPECT_FALSE(controller_.SessionOpen());
}

TEST_F(EcuControllerTest, IdentificationInBothLayouts) {
  struct Case {
    EcuIdentity identity;
    Bytes first_six;
  };
  const Case cases[] = {
      {{8, 36, 24, EcuIdentity::kPairFirst}, {8, 36, 24, 0, 0, 0}},
      {{8, 36, 24, EcuIdentity::kPairLater}, {8, 3, 0, 0, 36, 24}},
      {{9, 1, 2, EcuIdentity::kPairFirst}, {9, 1, 2, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    EcuController controller(c.identity, memory_);
    const WireFrame reply = controller.Handle({1, wire::kIdentify, {}}, 0);
    ASSERT_EQ(reply.payload.size(), 1 + wire::kIdentificationSize);
    EXPECT_EQ(reply.payload[0], wire::kReplyOk);
    EXPECT_EQ(Bytes(reply.payload.begin() + 1, reply.payload.begin() + 7), c.first_six);
  }
}

TEST_F(EcuControllerTest, UndefinedDataAnswersNotDefined) {
  OpenSession();
  const Bytes not_defined{wire::kReplyNotDefined};
  EXPECT_EQ(ReadAddress(0), not_defined);
  EXPECT_EQ(ReadAddress(300), not_defined);
  EXPECT_EQ(WriteAddress(176, 1), not_defined);
  EXPECT_EQ(Ask(wire::kReadCode, wire::EncodeCodeSelector({5})), not_defined);
  EXPECT_EQ(Ask(wire::kReadCode, wire::EncodeCodeSelector({0, 1})), not_defined);
  EXPECT_EQ(Ask(wire::kReadPacket, wire::EncodePacketRequest({0x801, 64})), not_defined);
}

TEST_F(EcuControllerTest, MalformedRequestsAnswerBadRequest) {
  OpenSession();
  const Bytes bad{wire::kReplyBadRequest};
  EXPECT_EQ(Ask(wire::kReadAddress, {1}), bad);
  EXPECT_EQ(Ask(wire::kReadAddress, {0, 216, 0}), bad);
  EXPECT_EQ(Ask(wire::kWriteAddress, {0, 216}), bad);
  EXPECT_EQ(Ask(wire::kReadCode, {0, 0, 0, 0}), bad);
  EXPECT_EQ(Ask(wire::kReadPacket, {}), bad);
  EXPECT_EQ(Ask(0x7E), bad);
  EXPECT_EQ(memory_.Read(216), 101);
}

TEST_F(EcuControllerTest, WritesReachMemoryAndTheListener) {
  controller_.SetMemoryListener([this] { ++changes_; });
  OpenSession();
  EXPECT_EQ(WriteAddress(216, 42), Bytes{wire::kReplyOk});
  EXPECT_EQ(memory_.Read(216), 42);
  EXPECT_EQ(WriteAddress(216, 42), Bytes{wire::kReplyOk}) << "a repeated write is harmless";
  EXPECT_EQ(memory_.Read(216), 42);
  EXPECT_EQ(changes_, 2);
}

TEST_F(EcuControllerTest, CheckupEightErasesToFactoryAndOtherValuesAreStored) {
  OpenSession();
  WriteAddress(216, 42);
  WriteAddress(kCheckupAddress, 7);
  EXPECT_EQ(memory_.Read(kCheckupAddress), 7);
  EXPECT_EQ(WriteAddress(kCheckupAddress, kEraseCommand), Bytes{wire::kReplyOk});
  EXPECT_EQ(memory_.Bytes(), EcuMemory::FactoryImage());
}

TEST_F(EcuControllerTest, CommandValueByCodeZero) {
  OpenSession();
  EXPECT_EQ(Ask(wire::kReadCode, wire::EncodeCodeSelector({0})), wire::WordReply(0));
  EXPECT_EQ(Ask(wire::kWriteCode, wire::EncodeCodeWrite({{0}, 240})), Bytes{wire::kReplyOk});
  EXPECT_EQ(Ask(wire::kReadCode, wire::EncodeCodeSelector({0})), wire::WordReply(240));
  EXPECT_EQ(Ask(wire::kWriteCode, wire::EncodeCodeWrite({{0}, 256})), Bytes{wire::kReplyRefused});
  EXPECT_EQ(controller_.CommandRegister(), 240u);
}

TEST_F(EcuControllerTest, PacketIsCutToTheRequestedSize) {
  OpenSession();
  const std::uint64_t ms = engine::kStartMs + 100;
  const engine::LivePacket packet = engine::Sample(ms, memory_);
  EXPECT_EQ(Ask(wire::kReadPacket, wire::EncodePacketRequest({0x800, 64}), ms),
            wire::DataReply(packet));
  EXPECT_EQ(Ask(wire::kReadPacket, wire::EncodePacketRequest({0x800, 4}), ms),
            wire::DataReply(std::span(packet).first(4)));
}

TEST_F(EcuControllerTest, DefaultIsAcquiredAfterRunningAndAgainAfterAnErase) {
  OpenSession();
  const std::uint64_t due = engine::kStartMs + engine::kDefaultAcquiredAfterMs;
  controller_.Tick(due - 1);
  EXPECT_EQ(memory_.Read(kDefaultAcquiredAddress), 0);
  controller_.Tick(due);
  EXPECT_EQ(memory_.Read(kDefaultAcquiredAddress), kDefaultAcquiredBit);

  const std::uint64_t erase_at = due + 10000;
  WriteAddress(kCheckupAddress, kEraseCommand, erase_at);
  controller_.Tick(erase_at + 1);
  EXPECT_EQ(memory_.Read(kDefaultAcquiredAddress), 0);
  controller_.Tick(erase_at + engine::kDefaultAcquiredAfterMs);
  EXPECT_EQ(memory_.Read(kDefaultAcquiredAddress), kDefaultAcquiredBit);
}

TEST_F(EcuControllerTest, ClearedDefaultFlagIsNotSetAgainBehindTheUsersBack) {
  OpenSession();
  const std::uint64_t due = engine::kStartMs + engine::kDefaultAcquiredAfterMs;
  controller_.Tick(due);
  WriteAddress(kDefaultAcquiredAddress, 0, due + 1);
  controller_.Tick(due + 60000);
  EXPECT_EQ(memory_.Read(kDefaultAcquiredAddress), 0);
}

}  // namespace
}  // namespace vzt
