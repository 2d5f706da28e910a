#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "ecusim/EcuMemory.h"

namespace vzt {

// The live data of a small engine: it stands for a moment after the simulator starts, then
// idles, revs up and back down in a loop, and warms up while it runs. Everything is a pure
// function of the time since start and of the configuration memory.
namespace engine {

inline constexpr std::size_t kPacketSize = 9;
using LivePacket = std::array<std::uint8_t, kPacketSize>;

// Offsets in the live packet.
inline constexpr std::size_t kSpeed = 0;
inline constexpr std::size_t kLambda = 1;
inline constexpr std::size_t kThrottle = 2;
inline constexpr std::size_t kMinThrottle = 3;
inline constexpr std::size_t kActuator = 4;
inline constexpr std::size_t kDefaultPosition = 5;
inline constexpr std::size_t kLambdaBand = 6;
inline constexpr std::size_t kThrottleBand = 7;
inline constexpr std::size_t kTemperature = 8;

// The speed byte while the engine stands.
inline constexpr std::uint8_t kStandingPeriod = 255;
// When the engine starts, in milliseconds after the simulator started.
inline constexpr std::uint64_t kStartMs = 2000;
// How long the engine runs before the controller has acquired its default position.
inline constexpr std::uint64_t kDefaultAcquiredAfterMs = 3000;

LivePacket Sample(std::uint64_t ms, const EcuMemory& memory);

bool Running(std::uint64_t ms);
unsigned Rpm(std::uint64_t ms);
// Throttle opening, 0 to 1.
double Throttle(std::uint64_t ms);
double CoolantCelsius(std::uint64_t ms);

// The constant K of speed = K / period for an ignition type (bits 0-2 of address 163).
unsigned PeriodConstant(unsigned ignition_type);
std::uint8_t PeriodByte(unsigned rpm, unsigned ignition_type);
// The temperature byte r of the NTC divider, where r / (255 - r) is the sensor's ratio.
std::uint8_t TemperatureByte(double celsius);

}  // namespace engine
}  // namespace vzt
