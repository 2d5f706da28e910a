#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "serlink/WireFrame.h"
#include "serlink/WireProtocol.h"

namespace vzt {

// What a run of received bytes completed: a frame, or a frame-shaped run that failed its
// checks (the decoder then resynchronises on the next start byte).
struct DecodeEvent {
  enum Kind { kFrame, kBadChecksum, kOversized };
  Kind kind = kFrame;
  WireFrame frame;  // only for kFrame
};

// Turns a byte stream into frames. Pure: bytes in, events out, no I/O and no clock.
// Anything before a start byte is skipped; a start byte whose frame has a length beyond the
// limit or a wrong CRC is dropped alone, so a frame hidden behind garbage is still found.
class FrameDecoder {
 public:
  explicit FrameDecoder(std::size_t max_payload = wire::kMaxPayload);

  std::vector<DecodeEvent> Feed(std::span<const std::uint8_t> bytes);
  // Forgets a partly received frame.
  void Reset();
  // Bytes held for a frame that is not complete yet.
  std::size_t Pending() const { return buffer_.size(); }

 private:
  // Decodes at most one event from the front of the buffer; false when more bytes are needed.
  bool DecodeOne(std::vector<DecodeEvent>& events);
  void SkipToStartByte();
  void Drop(std::size_t count);

  std::size_t max_payload_;
  std::vector<std::uint8_t> buffer_;
};

}  // namespace vzt
