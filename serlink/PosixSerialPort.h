#pragma once

#include "serlink/SerialPort.h"

namespace vzt {

// The serial line through termios. Reads wait in poll(); nothing spins.
class PosixSerialPort final : public SerialPort {
 public:
  PosixSerialPort() = default;
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  bool Open(const std::string& device, int baud) override;
  void Close() override;
  bool IsOpen() const override { return fd_ >= 0; }
  bool SetBaud(int baud) override;
  void DiscardInput() override;
  bool Write(std::span<const std::uint8_t> bytes) override;
  int Read(std::span<std::uint8_t> into, int timeout_ms) override;

 private:
  bool ConfigureRaw(int baud);
  bool WaitWritable();

  int fd_ = -1;
};

}  // namespace vzt
