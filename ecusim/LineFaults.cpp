#include "ecusim/LineFaults.h"

namespace vzt {

LineFaults::LineFaults(double drop_rate, double corrupt_rate, std::uint64_t seed)
    : drop_rate_(drop_rate), corrupt_rate_(corrupt_rate), random_(seed) {}

bool LineFaults::Chance(double probability) {
  if (probability <= 0) return false;
  // The generator's raw output, so the sequence is the same with every standard library.
  const double draw = static_cast<double>(random_() >> 11) * 0x1.0p-53;
  return draw < probability;
}

bool LineFaults::DropFrame() { return Chance(drop_rate_); }

void LineFaults::MaybeCorrupt(std::vector<std::uint8_t>& frame) {
  if (frame.empty() || !Chance(corrupt_rate_)) return;
  const std::uint64_t draw = random_();
  const std::size_t index = static_cast<std::size_t>(draw % frame.size());
  const unsigned bit = static_cast<unsigned>((draw >> 32) % 8);
  frame[index] ^= static_cast<std::uint8_t>(1u << bit);
}

}  // namespace vzt
