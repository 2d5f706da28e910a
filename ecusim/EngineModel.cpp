#include "ecusim/EngineModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "ecusim/EcuParameterTable.h"

namespace vzt::engine {

namespace {

struct ProfilePoint {
  std::uint64_t at_ms;
  unsigned rpm;
  double throttle;
};

// One loop of the engine's day after it started: idle, rev up, full throttle, back to idle.
constexpr std::array kLoop{
    ProfilePoint{0, 850, 0.0},      ProfilePoint{6000, 850, 0.0},
    ProfilePoint{8000, 3000, 0.6},  ProfilePoint{11000, 3000, 0.6},
    ProfilePoint{12000, 4500, 1.0}, ProfilePoint{13000, 4500, 1.0},
    ProfilePoint{15000, 850, 0.0},  ProfilePoint{18000, 850, 0.0},
};
constexpr std::uint64_t kLoopMs = kLoop.back().at_ms;

// The sensor's resistance ratio at -55 °C to 180 °C in steps of 5 °C.
constexpr std::array kNtcRatio{
    97.578, 67.65,   47.538, 33.831, 24.359, 17.753, 13.067,  9.7228, 7.3007,  5.5361,
    4.2332, 3.266,   2.5392, 1.9902, 1.5709, 1.2492, 1.0,     0.805,  0.65326, 0.5329,
    0.4371, 0.36,    0.299,  0.2493, 0.2088, 0.1757, 0.148,   0.1262, 0.1076,  0.09215,
    0.07922, 0.0683, 0.05924, 0.05153, 0.04492, 0.0392, 0.0343, 0.03018, 0.02665, 0.023594,
    0.0209, 0.0186,  0.0166, 0.01486, 0.01332, 0.01198, 0.01079, 0.00974};
constexpr double kNtcFirstCelsius = -55;
constexpr double kNtcStepCelsius = 5;

constexpr double kColdCelsius = 20;
constexpr double kHotCelsius = 90;
constexpr double kWarmUpSeconds = 40;

constexpr double kLambdaMeanVolts = 0.45;
constexpr double kLambdaSwingVolts = 0.4;
constexpr double kLambdaPeriodMs = 1200;
// Half the width of the lambda band around the reference, in volts.
constexpr double kLambdaBandVolts = 0.1;

constexpr double kIdleThrottleVolts = 0.6;
constexpr double kThrottleSpanVolts = 3.9;
constexpr double kActuatorPeriodMs = 4000;

std::uint8_t VoltsByte(double volts) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(volts * 255 / 5), 0L, 255L));
}

ProfilePoint ProfileAt(std::uint64_t ms) {
  const std::uint64_t t = (ms - kStartMs) % kLoopMs;
  for (std::size_t i = 1; i < kLoop.size(); ++i) {
    const ProfilePoint& a = kLoop[i - 1];
    const ProfilePoint& b = kLoop[i];
    if (t > b.at_ms) continue;
    const double f = static_cast<double>(t - a.at_ms) / static_cast<double>(b.at_ms - a.at_ms);
    const double rpm = a.rpm + f * (static_cast<double>(b.rpm) - a.rpm);
    return {t, static_cast<unsigned>(std::lround(rpm)), a.throttle + f * (b.throttle - a.throttle)};
  }
  return kLoop.back();
}

// Sensor types 1 and 3 give a voltage that falls as the throttle opens.
bool ThrottleFalls(const EcuMemory& memory) {
  const unsigned type = memory.Bytes()[kSensorAddress] >> 5;
  return type == 1 || type == 3;
}

std::uint8_t Oriented(std::uint8_t rising, bool falls) {
  return falls ? static_cast<std::uint8_t>(255 - rising) : rising;
}

double LambdaVolts(std::uint64_t ms) {
  if (!Running(ms)) return 0;
  const double phase = 2 * std::numbers::pi * static_cast<double>(ms - kStartMs) / kLambdaPeriodMs;
  return kLambdaMeanVolts + kLambdaSwingVolts * std::sin(phase);
}

std::uint8_t LambdaBand(std::uint8_t lambda, const EcuMemory& memory) {
  const int reference = memory.Bytes()[kLambdaReferenceAddress];
  const int half = VoltsByte(kLambdaBandVolts);
  if (lambda < reference - half) return 0;
  if (lambda > reference + half) return 2;
  return 1;
}

// Band 0 at idle, 1 below the learning band, 2 below the power band, 3 above it; compared
// as a rising voltage whatever the sensor's direction.
std::uint8_t ThrottleBand(std::uint8_t rising, std::uint8_t idle, const EcuMemory& memory) {
  const auto& m = memory.Bytes();
  const bool falls = ThrottleFalls(memory);
  const int learn = Oriented(m[kThrottleLearnBandAddress], falls);
  const int power = Oriented(m[kThrottlePowerBandAddress], falls);
  if (rising <= idle + m[kThrottleHysteresisAddress]) return 0;
  if (rising < learn) return 1;
  if (rising < power) return 2;
  return 3;
}

std::uint8_t ActuatorPosition(std::uint64_t ms, const EcuMemory& memory) {
  const auto& m = memory.Bytes();
  const int low = std::min(m[kMinApertureAddress], m[kMaxApertureAddress]);
  const int high = std::max(m[kMinApertureAddress], m[kMaxApertureAddress]);
  if (!Running(ms)) return static_cast<std::uint8_t>(low);
  const double phase =
      std::fmod(static_cast<double>(ms - kStartMs), kActuatorPeriodMs) / kActuatorPeriodMs;
  const double triangle = phase < 0.5 ? 2 * phase : 2 * (1 - phase);
  return static_cast<std::uint8_t>(low + std::lround(triangle * (high - low)));
}

}  // namespace

bool Running(std::uint64_t ms) { return ms >= kStartMs; }

unsigned Rpm(std::uint64_t ms) { return Running(ms) ? ProfileAt(ms).rpm : 0; }

double Throttle(std::uint64_t ms) { return Running(ms) ? ProfileAt(ms).throttle : 0; }

double CoolantCelsius(std::uint64_t ms) {
  if (!Running(ms)) return kColdCelsius;
  const double seconds = static_cast<double>(ms - kStartMs) / 1000;
  return kHotCelsius - (kHotCelsius - kColdCelsius) * std::exp(-seconds / kWarmUpSeconds);
}

unsigned PeriodConstant(unsigned ignition_type) {
  switch (ignition_type) {
    case 1: return 93600;
    case 2:
    case 6: return 78000;
    case 3: return 58500;
    default: return 117000;
  }
}

std::uint8_t PeriodByte(unsigned rpm, unsigned ignition_type) {
  if (rpm == 0) return kStandingPeriod;
  const long period = std::lround(static_cast<double>(PeriodConstant(ignition_type)) / rpm);
  return static_cast<std::uint8_t>(std::clamp(period, 1L, 254L));
}

std::uint8_t TemperatureByte(double celsius) {
  const double position = (celsius - kNtcFirstCelsius) / kNtcStepCelsius;
  const auto last = static_cast<double>(kNtcRatio.size() - 1);
  const double clamped = std::clamp(position, 0.0, last);
  const auto index = std::min(static_cast<std::size_t>(clamped), kNtcRatio.size() - 2);
  const double f = clamped - static_cast<double>(index);
  const double ratio = kNtcRatio[index] + f * (kNtcRatio[index + 1] - kNtcRatio[index]);
  const long r = std::lround(255 * ratio / (1 + ratio));
  return static_cast<std::uint8_t>(std::clamp(r, 0L, 254L));
}

LivePacket Sample(std::uint64_t ms, const EcuMemory& memory) {
  const auto& m = memory.Bytes();
  const bool falls = ThrottleFalls(memory);
  const std::uint8_t idle = VoltsByte(kIdleThrottleVolts);
  const std::uint8_t rising = VoltsByte(kIdleThrottleVolts + kThrottleSpanVolts * Throttle(ms));
  const std::uint8_t lambda = VoltsByte(LambdaVolts(ms));

  LivePacket packet{};
  packet[kSpeed] = PeriodByte(Rpm(ms), m[kIgnitionAddress] & 0x07);
  packet[kLambda] = lambda;
  packet[kThrottle] = Oriented(rising, falls);
  packet[kMinThrottle] = Oriented(idle, falls);
  packet[kActuator] = ActuatorPosition(ms, memory);
  packet[kDefaultPosition] = m[kDefaultPositionAddress];
  packet[kLambdaBand] = LambdaBand(lambda, memory);
  packet[kThrottleBand] = ThrottleBand(rising, idle, memory);
  packet[kTemperature] = TemperatureByte(CoolantCelsius(ms));
  return packet;
}

}  // namespace vzt::engine
