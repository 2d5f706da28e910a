#include "serlink/ScriptedPort.h"

#include <algorithm>

#include "serlink/WireFrame.h"

namespace vzt::test {

wire::Bytes ReplyTo(const WireFrame& request, const wire::Bytes& payload) {
  return EncodeFrame({request.sequence, wire::ReplyCommand(request.command), payload});
}

bool ScriptedPort::Open(const std::string& device, int baud_rate) {
  open_attempts.push_back(device);
  open_ = devices.count(device) > 0 && !unplugged;
  current_ = device;
  baud = baud_rate;
  decoder_.Reset();
  incoming_.clear();
  return open_;
}

bool ScriptedPort::SetBaud(int baud_rate) {
  baud = baud_rate;
  return open_;
}

bool ScriptedPort::Write(std::span<const std::uint8_t> bytes) {
  if (!open_ || unplugged) return false;
  for (DecodeEvent& event : decoder_.Feed(bytes)) {
    if (event.kind != DecodeEvent::kFrame) continue;
    requests.push_back(event.frame);
    const Responder& respond = devices[current_];
    if (!respond) continue;
    const wire::Bytes reply = respond(event.frame);
    incoming_.insert(incoming_.end(), reply.begin(), reply.end());
  }
  return true;
}

int ScriptedPort::Read(std::span<std::uint8_t> into, int timeout_ms) {
  if (!open_ || unplugged) return kDeviceLost;
  if (incoming_.empty()) {
    clock_ += static_cast<std::uint64_t>(std::max(timeout_ms, 0));
    return 0;
  }
  const std::size_t n = std::min(into.size(), incoming_.size());
  std::copy_n(incoming_.begin(), n, into.begin());
  incoming_.erase(incoming_.begin(), incoming_.begin() + static_cast<std::ptrdiff_t>(n));
  return static_cast<int>(n);
}

}  // namespace vzt::test
