#include "forms/DisconnectedTime.h"

#include <climits>
#include <cmath>

namespace vzt {

namespace {

// Double literals on purpose: the nearest doubles to 5.12 and 0.02, widened exactly.
constexpr long double kPeriodSeconds = 5.12;
constexpr long double kTickSeconds = 0.02;
constexpr long double kTicksPerSecond = 50;
// A little less than 1 / 5.12, because the double 5.12 lies a little above 5.12.
constexpr long double kPeriodsPerSecond = 1.0L / kPeriodSeconds;

int SaturatingInt(long double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<long double>(INT_MIN)) return INT_MIN;
  if (value >= static_cast<long double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(value);
}

}  // namespace

long double DisconnectedSeconds(int periods, int ticks) {
  const long double wholePeriods = (static_cast<long double>(periods) - 1) * kPeriodSeconds;
  return ticks != 0 ? wholePeriods + ticks * kTickSeconds : wholePeriods + kPeriodSeconds;
}

long long DisconnectedWholeSeconds(int periods, int ticks) {
  return static_cast<long long>(std::trunc(DisconnectedSeconds(periods, ticks)));
}

std::vector<DisconnectedTimeWrite> DisconnectedTimeWrites(long double seconds) {
  using W = DisconnectedTimeWrite;
  const long double periods = std::trunc(seconds * kPeriodsPerSecond);
  if (periods > kMaxWholePeriods) return {{W::Periods, kMaxWholePeriods}, {W::Ticks, 0}};
  const int wholePeriods = SaturatingInt(periods);
  const int ticks = SaturatingInt(std::trunc((seconds - periods * kPeriodSeconds) * kTicksPerSecond));
  std::vector<W> writes = {{W::Periods, wholePeriods}, {W::Ticks, ticks}};
  if (ticks != 0) writes.push_back({W::Periods, wholePeriods + 1});
  return writes;
}

}  // namespace vzt
