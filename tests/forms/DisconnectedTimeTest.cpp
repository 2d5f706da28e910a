// The probe-disconnected time of the built wave and the controller's two bytes that hold it.

#include <gtest/gtest.h>

#include <limits>

#include "forms/DisconnectedTime.h"

using namespace vzt;

namespace {

using W = DisconnectedTimeWrite;

struct ReadCase {
  int periods, ticks;
  long long shown;
};

class ShownSecondsTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ShownSecondsTest, BytesShowAsWholeSeconds) {
  const ReadCase& c = GetParam();
  EXPECT_EQ(DisconnectedWholeSeconds(c.periods, c.ticks), c.shown) << "R " << c.periods << " V " << c.ticks;
}

INSTANTIATE_TEST_SUITE_P(Bytes, ShownSecondsTest,
                         ::testing::Values(ReadCase{3, 100, 12},    // 2 x 5.12 + 2.00 = 12.24
                                           ReadCase{1, 0, 5},       // one whole period
                                           ReadCase{0, 0, 0},       // nothing
                                           ReadCase{117, 0, 599},   // the longest time written
                                           ReadCase{2, 243, 9},     // 9.98 s
                                           ReadCase{118, 255, 604}, // the most R the dialog writes
                                           ReadCase{255, 255, 1305},  // a byte beyond, same formula
                                           ReadCase{0, 50, -4}));   // a last period without a first

struct WriteCase {
  const char* what;
  long double seconds;
  std::vector<W> writes;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.what; }

class TimeWritesTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(TimeWritesTest, TimeSplitsIntoPeriodsAndTicks) {
  EXPECT_EQ(DisconnectedTimeWrites(GetParam().seconds), GetParam().writes);
}

INSTANTIATE_TEST_SUITE_P(
    Times, TimeWritesTest,
    ::testing::Values(
        WriteCase{"Zero", 0, {{W::Periods, 0}, {W::Ticks, 0}}},
        WriteCase{"OneSecond", 1, {{W::Periods, 0}, {W::Ticks, 50}, {W::Periods, 1}}},
        WriteCase{"OneAndAHalf", 1.5L, {{W::Periods, 0}, {W::Ticks, 75}, {W::Periods, 1}}},
        // The double 5.12 lies above 5.12, so the remainder falls just short of 44 ticks.
        WriteCase{"Six", 6, {{W::Periods, 1}, {W::Ticks, 43}, {W::Periods, 2}}},
        WriteCase{"Ten", 10, {{W::Periods, 1}, {W::Ticks, 243}, {W::Periods, 2}}},
        WriteCase{"Eleven", 11, {{W::Periods, 2}, {W::Ticks, 37}, {W::Periods, 3}}},
        // An exact multiple of 128 s comes out one period short, with a whole period left.
        WriteCase{"OneTwentyEight", 128, {{W::Periods, 24}, {W::Ticks, 255}, {W::Periods, 25}}},
        // Typed as 5.12, read as the double 5.12: exactly one whole period.
        WriteCase{"FiveTwelve", static_cast<long double>(5.12), {{W::Periods, 1}, {W::Ticks, 0}}},
        WriteCase{"LongestUncut", 603, {{W::Periods, 117}, {W::Ticks, 197}, {W::Periods, 118}}},
        WriteCase{"BeyondIsCut", 605, {{W::Periods, 117}, {W::Ticks, 0}}},
        WriteCase{"HugeIsCut", 1e30L, {{W::Periods, 117}, {W::Ticks, 0}}},
        WriteCase{"InfinityIsCut", std::numeric_limits<long double>::infinity(), {{W::Periods, 117}, {W::Ticks, 0}}},
        WriteCase{"NotANumberIsZero", std::numeric_limits<long double>::quiet_NaN(), {{W::Periods, 0}, {W::Ticks, 0}}}),
    [](const auto& info) { return std::string(info.param.what); });

// What is written comes back within a tick of what was typed.
TEST(DisconnectedTimeTest, WrittenTimesReadBackWithinATick) {
  for (int seconds : {1, 6, 11, 60, 300, 599}) {
    int periods = 0, ticks = 0;
    for (const W& w : DisconnectedTimeWrites(seconds)) (w.byte == W::Periods ? periods : ticks) = w.value;
    EXPECT_NEAR(static_cast<double>(DisconnectedSeconds(periods, ticks)), seconds, 0.0201) << seconds;
  }
}

}  // namespace
