#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace vzt {

// Faults of the line, drawn from a seeded generator so that a run can be repeated.
// Each frame, in either direction, is lost with the drop rate; each reply is damaged (one
// bit flipped) with the corruption rate.
class LineFaults {
 public:
  LineFaults(double drop_rate, double corrupt_rate, std::uint64_t seed);

  bool DropFrame();
  // Flips one bit somewhere in the frame, or leaves it as it is.
  void MaybeCorrupt(std::vector<std::uint8_t>& frame);

 private:
  bool Chance(double probability);

  double drop_rate_;
  double corrupt_rate_;
  std::mt19937_64 random_;
};

}  // namespace vzt
