#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "serlink/ByteTransport.h"
#include "serlink/FrameDecoder.h"
#include "serlink/MonotonicClock.h"
#include "serlink/WireMessages.h"

namespace vzt {

// How a transfer ended after all its attempts.
struct TransferResult {
  enum Outcome { kReplied, kNoReply, kDeviceLost };
  Outcome outcome = kNoReply;
  wire::Bytes payload;          // the reply's payload when kReplied
  bool timed_out = false;       // some attempt heard no matching reply in time
  bool saw_bad_frame = false;   // some attempt received a frame that failed its checks
  int attempts = 0;

  bool Replied() const { return outcome == kReplied; }
  // Nothing at all came back: no reply and no damaged frame either.
  bool Silent() const { return outcome == kNoReply && !saw_bad_frame; }
};

// Timing of one transfer. Every attempt waits for the wire time of the request and of the
// longest reply at the line's speed, plus a fixed allowance for the controller to answer.
struct TransferTiming {
  int baud = 19200;
  int attempts = 6;
  int reply_allowance_ms = 150;

  int AttemptTimeoutMs(std::size_t request_bytes, std::size_t reply_bytes) const;
};

// Request and reply over a byte transport: frames the request with a fresh sequence number,
// waits for the reply that carries the same number and command, skips late replies and
// garbage, and tries again a bounded number of times after a time-out or a damaged frame.
class ProtocolClient {
 public:
  ProtocolClient(ByteTransport& transport, MonotonicClock clock);

  void SetTiming(const TransferTiming& timing) { timing_ = timing; }
  const TransferTiming& Timing() const { return timing_; }

  // max_reply_payload bounds the reply that is accepted: a longer one counts as damaged.
  // attempts 0 means the timing's number of attempts.
  TransferResult Transfer(std::uint8_t command, wire::ByteView payload,
                          std::size_t max_reply_payload, int attempts = 0);

 private:
  enum class AttemptEnd { kReply, kTimeout, kBadFrame, kDeviceLost };

  AttemptEnd Attempt(std::uint8_t command, wire::ByteView payload, std::size_t max_reply_payload,
                     wire::Bytes& reply);
  // Looks through decoded events for the awaited reply; notes damaged frames.
  bool FindReply(std::vector<DecodeEvent>& events, std::uint8_t sequence, std::uint8_t command,
                 std::size_t max_reply_payload, wire::Bytes& reply, bool& bad_frame) const;

  ByteTransport& transport_;
  MonotonicClock clock_;
  TransferTiming timing_;
  FrameDecoder decoder_;
  std::uint8_t next_sequence_ = 1;
};

}  // namespace vzt
