#pragma once

#include <cstdint>
#include <span>

namespace vzt {

// CRC-16/CCITT-FALSE: polynomial 0x1021, initial value 0xFFFF, no reflection, no final XOR.
std::uint16_t Crc16(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0xFFFF);

}  // namespace vzt
