#pragma once

#include <array>
#include <cstdint>

#include "serlink/WireProtocol.h"

namespace vzt {

// What the controller answers to the identification request.
struct EcuIdentity {
  // Layout 1 puts the identification pair in bytes 1 and 2 of the record; layout 3 sets
  // byte 1 to 3 and puts the pair in bytes 4 and 5.
  static constexpr int kPairFirst = 1;
  static constexpr int kPairLater = 3;

  std::uint8_t kind = 8;
  std::uint8_t first = 36;
  std::uint8_t second = 24;
  int layout = kPairFirst;

  std::array<std::uint8_t, wire::kIdentificationSize> Record() const {
    std::array<std::uint8_t, wire::kIdentificationSize> record{};
    record[0] = kind;
    if (layout == kPairLater) {
      record[1] = kPairLater;
      record[4] = first;
      record[5] = second;
    } else {
      record[1] = first;
      record[2] = second;
    }
    return record;
  }
};

}  // namespace vzt
