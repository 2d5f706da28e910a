#include "serlink/WireFrame.h"

#include "serlink/Crc16.h"
#include "serlink/WireProtocol.h"

namespace vzt {

std::vector<std::uint8_t> EncodeFrame(const WireFrame& frame) {
  if (frame.payload.size() > wire::kMaxPayload) return {};
  std::vector<std::uint8_t> bytes;
  bytes.reserve(EncodedFrameSize(frame.payload.size()));
  bytes.push_back(wire::kStartOfFrame);
  bytes.push_back(frame.sequence);
  bytes.push_back(frame.command);
  bytes.push_back(static_cast<std::uint8_t>(frame.payload.size()));
  bytes.insert(bytes.end(), frame.payload.begin(), frame.payload.end());
  const std::uint16_t crc = Crc16(std::span(bytes).subspan(1));
  bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
  bytes.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  return bytes;
}

std::size_t EncodedFrameSize(std::size_t payload_size) {
  return wire::kFrameOverhead + payload_size;
}

}  // namespace vzt
