#pragma once

#include <string>

#include "serlink/ByteTransport.h"

namespace vzt {

// A serial line, raw 8N1 without flow control. One class per platform implements it.
class SerialPort : public ByteTransport {
 public:
  virtual bool Open(const std::string& device, int baud) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  virtual bool SetBaud(int baud) = 0;
  // Forgets whatever was received and not read yet.
  virtual void DiscardInput() = 0;
};

}  // namespace vzt
