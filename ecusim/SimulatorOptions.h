#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "ecusim/EcuIdentity.h"

namespace vzt {

struct SimulatorOptions {
  std::string link_path;    // empty: the well-known link
  std::string eeprom_path;  // empty: memory only
  EcuIdentity identity;
  int baud = 0;             // 0: bytes take no wire time
  int turnaround_ms = 0;
  double drop_rate = 0;
  double corrupt_rate = 0;
  bool silent = false;
  bool refuse_sessions = false;
  long long unplug_after_ms = -1;  // negative: never
  std::uint64_t seed = 1;
  bool help = false;
};

struct ParsedOptions {
  std::optional<SimulatorOptions> options;
  std::string error;  // why options is empty
};

// Parses the arguments after the program name. "--name value" and "--name=value" both work.
ParsedOptions ParseSimulatorOptions(std::span<const std::string_view> args);

std::string SimulatorUsage();

}  // namespace vzt
