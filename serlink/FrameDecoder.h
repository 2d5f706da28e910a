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
  enum Kind { kFrame, kBadChecksum, kOversized, kTruncated };
  Kind kind = kFrame;
  WireFrame frame;  // only for kFrame
};

// Turns a byte stream into frames. Pure: bytes in, events out, no I/O and no clock.
// Anything before a start byte is skipped; a start byte whose frame has a length beyond the
// limit or a wrong CRC is dropped alone, so a frame hidden behind garbage is still found.
// A start byte whose frame is still incomplete is given up as soon as a complete, valid
// frame follows it, so a stray start byte cannot hold back the frames after it.
class FrameDecoder {
 public:
  explicit FrameDecoder(std::size_t max_payload = wire::kMaxPayload);

  std::vector<DecodeEvent> Feed(std::span<const std::uint8_t> bytes);
  // Frames longer than this are taken as garbage (at most the protocol's limit).
  void SetMaxPayload(std::size_t max_payload);
  // Forgets a partly received frame.
  void Reset();
  // Bytes held for a frame that is not complete yet.
  std::size_t Pending() const { return buffer_.size(); }

 private:
  // Decodes at most one event from the front of the buffer; false when more bytes are needed.
  bool DecodeOne(std::vector<DecodeEvent>& events);
  void SkipToStartByte();
  // Where a complete frame with a good CRC starts at or after `from`, if anywhere.
  std::size_t NextValidFrame(std::size_t from) const;
  bool ValidFrameAt(std::size_t at) const;
  void Drop(std::size_t count);

  std::size_t max_payload_;
  std::vector<std::uint8_t> buffer_;
};

}  // namespace vzt
