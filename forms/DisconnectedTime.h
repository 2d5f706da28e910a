#pragma once

#include <vector>

namespace vzt {

// The time the lambda probe stays disconnected in the built wave, as the controller keeps it
// in two bytes: R, a count of 5.12-second periods that includes a last, partial one, and V,
// the length of that last period in 20-ms ticks, where V = 0 stands for a whole period.
// The arithmetic runs in extended precision (long double, a 64-bit mantissa on x86), with
// 5.12 and 0.02 taken as their nearest double values, as the controller's tool always did;
// the results at the edges (6 s gives 43 ticks, 128 s one period less) depend on it.
struct DisconnectedTimeWrite {
  enum Byte { Periods, Ticks };  // NRipetizioniTri (R), NVolteTri (V)
  Byte byte;
  int value;
  bool operator==(const DisconnectedTimeWrite&) const = default;
};

// The most whole periods a time may take before it is cut.
inline constexpr int kMaxWholePeriods = 117;

// (R - 1) x 5.12 + V x 0.02, or (R - 1) x 5.12 + 5.12 when V is 0 (so R = V = 0 is 0 s).
long double DisconnectedSeconds(int periods, int ticks);
// The same truncated toward zero to whole seconds, as the dialog shows it.
long long DisconnectedWholeSeconds(int periods, int ticks);

// The writes that store a time, in the order they are made: R, then V, then R once more
// when there is a partial period. A time beyond 117 periods writes R = 117 and V = 0. The
// values are not limited here; the items clamp them to their ranges.
std::vector<DisconnectedTimeWrite> DisconnectedTimeWrites(long double seconds);

}  // namespace vzt
