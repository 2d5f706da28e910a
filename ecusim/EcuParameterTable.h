#pragma once

#include <cstdint>
#include <span>

namespace vzt {

// One configuration parameter of the controller's memory: where it lives, which bits of the
// byte it owns, and its factory value (already shifted into those bits).
struct EcuParameter {
  const char* name;
  std::uint8_t address;
  std::uint8_t mask;
  std::uint8_t factory;
};

// Every parameter the controller defines; several may share one byte.
std::span<const EcuParameter> EcuParameters();

// Address of the check-up command: writing kEraseCommand there restores the factory contents.
inline constexpr std::uint8_t kCheckupAddress = 161;
inline constexpr std::uint8_t kEraseCommand = 8;
// Bit 3 of this byte says that the controller has acquired its default actuator position.
inline constexpr std::uint8_t kDefaultAcquiredAddress = 122;
inline constexpr std::uint8_t kDefaultAcquiredBit = 0x08;

// Addresses the engine model reads.
inline constexpr std::uint8_t kIgnitionAddress = 163;          // bits 0-2: ignition type
inline constexpr std::uint8_t kSensorAddress = 164;            // bits 5-7: throttle sensor type
inline constexpr std::uint8_t kMaxApertureAddress = 207;
inline constexpr std::uint8_t kMinApertureAddress = 208;
inline constexpr std::uint8_t kDefaultPositionAddress = 168;
inline constexpr std::uint8_t kLambdaReferenceAddress = 199;
inline constexpr std::uint8_t kThrottleHysteresisAddress = 194;
inline constexpr std::uint8_t kThrottleLearnBandAddress = 196;
inline constexpr std::uint8_t kThrottlePowerBandAddress = 215;

}  // namespace vzt
