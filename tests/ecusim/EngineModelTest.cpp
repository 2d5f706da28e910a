#include <gtest/gtest.h>

#include "ecusim/EcuParameterTable.h"
#include "ecusim/EngineModel.h"

namespace vzt {
namespace {

using namespace engine;

constexpr std::uint64_t kLoopEnd = kStartMs + 40000;

TEST(EngineModel, StandingEngineGivesTheStandingPeriod) {
  const EcuMemory memory;
  EXPECT_EQ(Sample(0, memory)[kSpeed], kStandingPeriod);
  EXPECT_EQ(Sample(kStartMs - 1, memory)[kSpeed], kStandingPeriod);
  EXPECT_NE(Sample(kStartMs, memory)[kSpeed], kStandingPeriod);
}

TEST(EngineModel, SpeedByteFollowsTheIgnitionTypeInMemory) {
  struct Case {
    std::uint8_t ignition;
    unsigned constant;
  };
  const Case cases[] = {{0, 117000}, {1, 93600}, {2, 78000}, {3, 58500},
                        {4, 117000}, {5, 117000}, {6, 78000}, {7, 117000}};
  EcuMemory memory;
  const std::uint8_t other_bits = memory.Bytes()[kIgnitionAddress] & ~0x07;
  for (const Case& c : cases) {
    ASSERT_TRUE(memory.Write(kIgnitionAddress, other_bits | c.ignition));
    const unsigned rpm = Rpm(kStartMs);
    const auto expected = static_cast<std::uint8_t>((c.constant + rpm / 2) / rpm);
    EXPECT_EQ(Sample(kStartMs, memory)[kSpeed], expected) << "ignition " << int(c.ignition);
  }
}

TEST(EngineModel, EngineIdlesAndRevs) {
  unsigned lowest = 100000, highest = 0;
  for (std::uint64_t ms = kStartMs; ms < kLoopEnd; ms += 100) {
    lowest = std::min(lowest, Rpm(ms));
    highest = std::max(highest, Rpm(ms));
  }
  EXPECT_LT(lowest, 1000u);
  EXPECT_GT(highest, 3000u);
}

TEST(EngineModel, LiveValuesStayInTheirRanges) {
  EcuMemory memory;
  ASSERT_TRUE(memory.Write(kMinApertureAddress, 60));
  ASSERT_TRUE(memory.Write(kMaxApertureAddress, 90));
  bool bands_seen[4] = {};
  bool lambda_bands_seen[3] = {};
  for (std::uint64_t ms = 0; ms < kLoopEnd; ms += 37) {
    const LivePacket p = Sample(ms, memory);
    EXPECT_GE(p[kActuator], 60);
    EXPECT_LE(p[kActuator], 90);
    EXPECT_EQ(p[kDefaultPosition], 100);
    ASSERT_LE(p[kLambdaBand], 2);
    ASSERT_LE(p[kThrottleBand], 3);
    lambda_bands_seen[p[kLambdaBand]] = true;
    bands_seen[p[kThrottleBand]] = true;
    EXPECT_GE(p[kThrottle], p[kMinThrottle]);
  }
  for (bool seen : lambda_bands_seen) EXPECT_TRUE(seen);
  for (bool seen : bands_seen) EXPECT_TRUE(seen);
}

TEST(EngineModel, ActuatorBoundsMayBeGivenTheWrongWayRound) {
  EcuMemory memory;
  ASSERT_TRUE(memory.Write(kMinApertureAddress, 200));
  ASSERT_TRUE(memory.Write(kMaxApertureAddress, 50));
  for (std::uint64_t ms = kStartMs; ms < kStartMs + 8000; ms += 53) {
    const std::uint8_t position = Sample(ms, memory)[kActuator];
    EXPECT_GE(position, 50);
    EXPECT_LE(position, 200);
  }
}

TEST(EngineModel, FallingThrottleSensorMirrorsTheVoltage) {
  EcuMemory rising, falling;
  ASSERT_TRUE(falling.Write(kSensorAddress, (1 << 5) | 0x01));  // sensor type 1
  for (std::uint64_t ms : {kStartMs, kStartMs + 12500}) {
    const LivePacket up = Sample(ms, rising);
    const LivePacket down = Sample(ms, falling);
    EXPECT_EQ(down[kThrottle], 255 - up[kThrottle]);
    EXPECT_EQ(down[kMinThrottle], 255 - up[kMinThrottle]);
    EXPECT_EQ(down[kThrottleBand], up[kThrottleBand]);
  }
}

TEST(EngineModel, CoolantWarmsUpThroughTheSensorTable) {
  EXPECT_EQ(TemperatureByte(25), 128);  // ratio 1.0
  EXPECT_GT(TemperatureByte(-55), TemperatureByte(180));
  const EcuMemory memory;
  std::uint8_t previous = Sample(0, memory)[kTemperature];
  for (std::uint64_t ms = kStartMs; ms < kStartMs + 120000; ms += 5000) {
    const std::uint8_t now = Sample(ms, memory)[kTemperature];
    EXPECT_LE(now, previous) << "a warmer sensor gives a smaller byte";
    previous = now;
  }
  EXPECT_NEAR(CoolantCelsius(kStartMs + 600000), 90, 0.5);
}

}  // namespace
}  // namespace vzt
