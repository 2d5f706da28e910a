#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vzt {

// One message of the wire protocol, without its framing.
struct WireFrame {
  std::uint8_t sequence = 0;
  std::uint8_t command = 0;
  std::vector<std::uint8_t> payload;

  bool operator==(const WireFrame&) const = default;
};

// The frame as it goes on the wire; empty when the payload does not fit one frame.
std::vector<std::uint8_t> EncodeFrame(const WireFrame& frame);

// Bytes on the wire of a frame with this much payload.
std::size_t EncodedFrameSize(std::size_t payload_size);

}  // namespace vzt
