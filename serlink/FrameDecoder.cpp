#include "serlink/FrameDecoder.h"

#include <algorithm>

#include "serlink/Crc16.h"

namespace vzt {

FrameDecoder::FrameDecoder(std::size_t max_payload) { SetMaxPayload(max_payload); }

void FrameDecoder::SetMaxPayload(std::size_t max_payload) {
  max_payload_ = std::min(max_payload, wire::kMaxPayload);
}

std::vector<DecodeEvent> FrameDecoder::Feed(std::span<const std::uint8_t> bytes) {
  std::vector<DecodeEvent> events;
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  while (DecodeOne(events)) {
  }
  return events;
}

void FrameDecoder::Reset() { buffer_.clear(); }

bool FrameDecoder::DecodeOne(std::vector<DecodeEvent>& events) {
  SkipToStartByte();
  if (buffer_.size() < wire::kHeaderSize) return false;
  const std::size_t length = buffer_[3];
  if (length > max_payload_) {
    events.push_back({DecodeEvent::kOversized, {}});
    Drop(1);
    return true;
  }
  const std::size_t total = EncodedFrameSize(length);
  if (buffer_.size() < total) {
    const std::size_t next = NextValidFrame(1);
    if (next == buffer_.size()) return false;
    events.push_back({DecodeEvent::kTruncated, {}});
    Drop(next);
    return true;
  }
  if (!ValidFrameAt(0)) {
    events.push_back({DecodeEvent::kBadChecksum, {}});
    Drop(1);
    return true;
  }
  WireFrame frame;
  frame.sequence = buffer_[1];
  frame.command = buffer_[2];
  frame.payload.assign(buffer_.begin() + wire::kHeaderSize,
                       buffer_.begin() + static_cast<std::ptrdiff_t>(wire::kHeaderSize + length));
  events.push_back({DecodeEvent::kFrame, std::move(frame)});
  Drop(total);
  return true;
}

bool FrameDecoder::ValidFrameAt(std::size_t at) const {
  const std::size_t available = buffer_.size() - at;
  if (buffer_[at] != wire::kStartOfFrame || available < wire::kHeaderSize) return false;
  const std::size_t length = buffer_[at + 3];
  const std::size_t total = EncodedFrameSize(length);
  if (length > max_payload_ || available < total) return false;
  const auto covered = std::span(buffer_).subspan(at + 1, wire::kHeaderSize - 1 + length);
  const std::size_t crc_at = at + total - 2;
  const auto received = static_cast<std::uint16_t>(buffer_[crc_at] << 8 | buffer_[crc_at + 1]);
  return Crc16(covered) == received;
}

std::size_t FrameDecoder::NextValidFrame(std::size_t from) const {
  for (std::size_t at = from; at < buffer_.size(); ++at) {
    if (ValidFrameAt(at)) return at;
  }
  return buffer_.size();
}

void FrameDecoder::SkipToStartByte() {
  auto start = std::find(buffer_.begin(), buffer_.end(), wire::kStartOfFrame);
  buffer_.erase(buffer_.begin(), start);
}

void FrameDecoder::Drop(std::size_t count) {
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
}

}  // namespace vzt
