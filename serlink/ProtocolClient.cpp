#include "serlink/ProtocolClient.h"

#include <algorithm>
#include <array>

#include "serlink/WireFrame.h"

namespace vzt {

int TransferTiming::AttemptTimeoutMs(std::size_t request_bytes, std::size_t reply_bytes) const {
  const long long bits = static_cast<long long>(request_bytes + reply_bytes) * wire::kBitsPerByte;
  const long long wire_ms = baud > 0 ? (bits * 1000 + baud - 1) / baud : 0;
  return static_cast<int>(wire_ms) + reply_allowance_ms;
}

ProtocolClient::ProtocolClient(ByteTransport& transport, MonotonicClock clock)
    : transport_(transport), clock_(std::move(clock)) {}

TransferResult ProtocolClient::Transfer(std::uint8_t command, wire::ByteView payload,
                                        std::size_t max_reply_payload, int attempts) {
  TransferResult result;
  if (attempts <= 0) attempts = std::max(1, timing_.attempts);
  while (result.attempts < attempts) {
    ++result.attempts;
    switch (Attempt(command, payload, max_reply_payload, result.payload)) {
      case AttemptEnd::kReply:
        result.outcome = TransferResult::kReplied;
        return result;
      case AttemptEnd::kDeviceLost:
        result.outcome = TransferResult::kDeviceLost;
        return result;
      case AttemptEnd::kTimeout:
        result.timed_out = true;
        break;
      case AttemptEnd::kBadFrame:
        result.saw_bad_frame = true;
        break;
    }
  }
  result.outcome = TransferResult::kNoReply;
  return result;
}

ProtocolClient::AttemptEnd ProtocolClient::Attempt(std::uint8_t command, wire::ByteView payload,
                                                   std::size_t max_reply_payload,
                                                   wire::Bytes& reply) {
  const std::uint8_t sequence = next_sequence_++;
  const WireFrame request{sequence, command, wire::Bytes(payload.begin(), payload.end())};
  const wire::Bytes bytes = EncodeFrame(request);
  if (bytes.empty()) return AttemptEnd::kBadFrame;
  // Whatever is left of earlier replies can only be late or damaged; a damaged length
  // must not make this reply wait behind it.
  decoder_.Reset();
  decoder_.SetMaxPayload(max_reply_payload);
  if (!transport_.Write(bytes)) return AttemptEnd::kDeviceLost;

  const int timeout =
      timing_.AttemptTimeoutMs(bytes.size(), EncodedFrameSize(max_reply_payload));
  const std::uint64_t deadline = clock_() + static_cast<std::uint64_t>(timeout);
  std::array<std::uint8_t, wire::kMaxFrameSize> chunk{};
  for (std::uint64_t now = clock_(); now < deadline; now = clock_()) {
    const int n = transport_.Read(chunk, static_cast<int>(deadline - now));
    if (n == ByteTransport::kDeviceLost) return AttemptEnd::kDeviceLost;
    if (n <= 0) continue;
    auto events = decoder_.Feed(std::span(chunk).first(static_cast<std::size_t>(n)));
    bool bad_frame = false;
    if (FindReply(events, sequence, wire::ReplyCommand(command), max_reply_payload, reply,
                  bad_frame))
      return AttemptEnd::kReply;
    // A damaged frame is most likely our reply: ask again at once instead of waiting.
    if (bad_frame) return AttemptEnd::kBadFrame;
  }
  return AttemptEnd::kTimeout;
}

bool ProtocolClient::FindReply(std::vector<DecodeEvent>& events, std::uint8_t sequence,
                               std::uint8_t command, std::size_t max_reply_payload,
                               wire::Bytes& reply, bool& bad_frame) const {
  for (DecodeEvent& event : events) {
    if (event.kind != DecodeEvent::kFrame) {
      bad_frame = true;
      continue;
    }
    WireFrame& frame = event.frame;
    // A reply to an earlier attempt: it is late, and its request has been given up.
    if (frame.sequence != sequence) continue;
    if (frame.command != command || frame.payload.empty() ||
        frame.payload.size() > max_reply_payload) {
      bad_frame = true;
      continue;
    }
    reply = std::move(frame.payload);
    return true;
  }
  return false;
}

}  // namespace vzt
