#include <gtest/gtest.h>

#include "serlink/ProtocolClient.h"
#include "serlink/ScriptedPort.h"
#include "serlink/WireFrame.h"

namespace vzt {
namespace {

using test::ReplyTo;
using wire::Bytes;

constexpr const char* kDevice = "/dev/scripted";
const Bytes kRequest = wire::EncodeAddress(216);
const Bytes kAnswer{wire::kReplyOk, 101};
constexpr std::size_t kMaxReply = 2;

class ProtocolClientTest : public ::testing::Test {
 protected:
  void SetUp() override { client_.SetTiming(timing_); }

  // The controller answers attempt n (from 0) with answer(request, n).
  void Answer(std::function<Bytes(const WireFrame&, int)> answer) {
    port_.devices[kDevice] = [this, answer](const WireFrame& request) {
      return answer(request, attempt_++);
    };
    ASSERT_TRUE(port_.Open(kDevice, 19200));
  }
  TransferResult Transfer() { return client_.Transfer(wire::kReadAddress, kRequest, kMaxReply); }
  std::uint64_t OneTimeout() const {
    return static_cast<std::uint64_t>(timing_.AttemptTimeoutMs(
        EncodedFrameSize(kRequest.size()), EncodedFrameSize(kMaxReply)));
  }

  std::uint64_t clock_ = 1000;
  test::ScriptedPort port_{clock_};
  ProtocolClient client_{port_, [this] { return clock_; }};
  TransferTiming timing_{19200, 5, 150};
  int attempt_ = 0;
};

TEST_F(ProtocolClientTest, ReplyToTheRequestIsTaken) {
  Answer([](const WireFrame& r, int) { return ReplyTo(r, kAnswer); });
  const TransferResult result = Transfer();
  EXPECT_TRUE(result.Replied());
  EXPECT_EQ(result.payload, kAnswer);
  EXPECT_EQ(result.attempts, 1);
  ASSERT_EQ(port_.requests.size(), 1u);
  EXPECT_EQ(port_.requests[0].command, wire::kReadAddress);
  EXPECT_EQ(port_.requests[0].payload, kRequest);
}

TEST_F(ProtocolClientTest, LateReplyIsNeverTakenForTheCurrentOne) {
  WireFrame first_request;
  Answer([&](const WireFrame& r, int n) {
    if (n == 0) {
      first_request = r;
      return Bytes{};
    }
    // The first attempt's reply arrives late, just before the real one.
    Bytes both = ReplyTo(first_request, {wire::kReplyOk, 0x11});
    const Bytes current = ReplyTo(r, kAnswer);
    both.insert(both.end(), current.begin(), current.end());
    return both;
  });
  const TransferResult result = Transfer();
  ASSERT_TRUE(result.Replied());
  EXPECT_EQ(result.payload, kAnswer);
  EXPECT_EQ(result.attempts, 2);
  EXPECT_TRUE(result.timed_out);
}

TEST_F(ProtocolClientTest, LateReplyAloneLeadsToANewAttempt) {
  WireFrame first_request;
  Answer([&](const WireFrame& r, int n) {
    if (n == 0) first_request = r;
    if (n == 1) return ReplyTo(first_request, {wire::kReplyOk, 0x11});
    if (n == 2) return ReplyTo(r, kAnswer);
    return Bytes{};
  });
  const TransferResult result = Transfer();
  ASSERT_TRUE(result.Replied());
  EXPECT_EQ(result.payload, kAnswer);
  EXPECT_EQ(result.attempts, 3);
}

TEST_F(ProtocolClientTest, DamagedReplyIsAskedAgainAtOnce) {
  Answer([](const WireFrame& r, int n) {
    Bytes reply = ReplyTo(r, kAnswer);
    if (n == 0) reply[5] ^= 0x04;
    return reply;
  });
  const std::uint64_t before = clock_;
  const TransferResult result = Transfer();
  ASSERT_TRUE(result.Replied());
  EXPECT_EQ(result.attempts, 2);
  EXPECT_TRUE(result.saw_bad_frame);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(clock_, before) << "no time-out was waited for";
}

TEST_F(ProtocolClientTest, GarbageAroundTheReplyIsSkipped) {
  Answer([](const WireFrame& r, int) {
    Bytes out{0x00, 0x42, 0xFF};
    const Bytes reply = ReplyTo(r, kAnswer);
    out.insert(out.end(), reply.begin(), reply.end());
    out.insert(out.end(), {0x13, 0x37});
    return out;
  });
  const TransferResult result = Transfer();
  ASSERT_TRUE(result.Replied());
  EXPECT_EQ(result.attempts, 1);
}

TEST_F(ProtocolClientTest, SilenceEndsAfterTheLastAttemptsTimeOut) {
  Answer([](const WireFrame&, int) { return Bytes{}; });
  const std::uint64_t before = clock_;
  const TransferResult result = Transfer();
  EXPECT_EQ(result.outcome, TransferResult::kNoReply);
  EXPECT_TRUE(result.Silent());
  EXPECT_EQ(result.attempts, timing_.attempts);
  EXPECT_EQ(clock_ - before, OneTimeout() * static_cast<std::uint64_t>(timing_.attempts));
}

TEST_F(ProtocolClientTest, EveryAttemptHasItsOwnSequenceNumber) {
  Answer([](const WireFrame&, int) { return Bytes{}; });
  Transfer();
  Transfer();
  ASSERT_EQ(port_.requests.size(), 10u);
  for (std::size_t i = 1; i < port_.requests.size(); ++i)
    EXPECT_NE(port_.requests[i].sequence, port_.requests[i - 1].sequence);
}

// Replies that carry the right sequence number but cannot be the answer.
TEST_F(ProtocolClientTest, MalformedRepliesCountAsDamaged) {
  const std::vector<std::pair<const char*, std::function<Bytes(const WireFrame&)>>> cases = {
      {"another command",
       [](const WireFrame& r) {
         return EncodeFrame({r.sequence, wire::ReplyCommand(wire::kReadCode), kAnswer});
       }},
      {"no status byte", [](const WireFrame& r) { return ReplyTo(r, {}); }},
      {"longer than allowed",
       [](const WireFrame& r) { return ReplyTo(r, {wire::kReplyOk, 1, 2}); }},
  };
  for (const auto& [what, reply] : cases) {
    attempt_ = 0;
    const auto& respond = reply;
    Answer([&respond](const WireFrame& r, int) { return respond(r); });
    const TransferResult result = Transfer();
    EXPECT_EQ(result.outcome, TransferResult::kNoReply) << what;
    EXPECT_TRUE(result.saw_bad_frame) << what;
    EXPECT_FALSE(result.Silent()) << what;
  }
}

TEST_F(ProtocolClientTest, DeviceGoneEndsTheTransferAtOnce) {
  Answer([](const WireFrame& r, int) { return ReplyTo(r, kAnswer); });
  port_.unplugged = true;
  const TransferResult result = Transfer();
  EXPECT_EQ(result.outcome, TransferResult::kDeviceLost);
  EXPECT_EQ(result.attempts, 1);
}

TEST(TransferTiming, AttemptWaitsForBothFramesOnTheWireAndTheAllowance) {
  const TransferTiming at19200{19200, 5, 150};
  // 16 bytes of 10 bits at 19200 baud take 8.33 ms, rounded up.
  EXPECT_EQ(at19200.AttemptTimeoutMs(8, 8), 9 + 150);
  const TransferTiming at9600{9600, 5, 150};
  EXPECT_EQ(at9600.AttemptTimeoutMs(8, 259), 279 + 150);
}

}  // namespace
}  // namespace vzt
