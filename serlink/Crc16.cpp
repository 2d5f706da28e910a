#include "serlink/Crc16.h"

namespace vzt {

std::uint16_t Crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
  for (std::uint8_t byte : bytes) {
    crc ^= static_cast<std::uint16_t>(byte << 8);
    for (int bit = 0; bit < 8; ++bit) {
      const bool carry = (crc & 0x8000) != 0;
      crc = static_cast<std::uint16_t>(crc << 1);
      if (carry) crc ^= 0x1021;
    }
  }
  return crc;
}

}  // namespace vzt
