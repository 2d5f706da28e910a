#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "serlink/FrameDecoder.h"
#include "serlink/SerialPort.h"
#include "serlink/WireMessages.h"

namespace vzt::test {

// A serial port with a scripted controller behind it and a clock of its own: a read that
// finds nothing lets the whole time-out pass at once, so time-outs cost no real time.
class ScriptedPort final : public SerialPort {
 public:
  // Answers one request with the raw bytes the controller sends back (maybe none).
  using Responder = std::function<wire::Bytes(const WireFrame& request)>;

  explicit ScriptedPort(std::uint64_t& clock) : clock_(clock) {}

  // Devices that can be opened, each with its controller (an empty one never answers).
  std::map<std::string, Responder> devices;
  // Every device Open was asked for, and every request written, in order.
  std::vector<std::string> open_attempts;
  std::vector<WireFrame> requests;
  // From now on the device is gone.
  bool unplugged = false;
  int baud = 0;

  bool Open(const std::string& device, int baud_rate) override;
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  bool SetBaud(int baud_rate) override;
  void DiscardInput() override { incoming_.clear(); }
  bool Write(std::span<const std::uint8_t> bytes) override;
  int Read(std::span<std::uint8_t> into, int timeout_ms) override;

 private:
  std::uint64_t& clock_;
  bool open_ = false;
  std::string current_;
  FrameDecoder decoder_;
  std::deque<std::uint8_t> incoming_;
};

// The bytes of a reply to a request.
wire::Bytes ReplyTo(const WireFrame& request, const wire::Bytes& payload);

}  // namespace vzt::test
