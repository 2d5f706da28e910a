#pragma once

#include <cstdint>
#include <span>

namespace vzt {

// Where the protocol sends and receives its bytes. The serial port is one; tests put a
// scripted controller behind it.
class ByteTransport {
 public:
  virtual ~ByteTransport() = default;

  // False when the device is gone.
  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
  // Waits at most timeout_ms for bytes. Returns how many were read, 0 when none came in
  // time, or kDeviceLost.
  virtual int Read(std::span<std::uint8_t> into, int timeout_ms) = 0;

  static constexpr int kDeviceLost = -1;
};

}  // namespace vzt
