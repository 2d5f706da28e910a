#include "ecusim/SimulatorOptions.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <vector>

namespace vzt {

namespace {

template <class T>
bool ParseNumber(std::string_view text, T& out) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end;
}

template <class T>
bool ParseInRange(std::string_view text, T low, T high, T& out) {
  T value{};
  if (!ParseNumber(text, value) || value < low || value > high) return false;
  out = value;
  return true;
}

bool ParseByte(std::string_view text, std::uint8_t& out) {
  int value = 0;
  if (!ParseInRange(text, 0, 255, value)) return false;
  out = static_cast<std::uint8_t>(value);
  return true;
}

bool ParseRate(std::string_view text, double& out) { return ParseInRange(text, 0.0, 1.0, out); }

bool ParsePair(std::string_view text, EcuIdentity& identity) {
  const auto comma = text.find(',');
  if (comma == std::string_view::npos) return false;
  return ParseByte(text.substr(0, comma), identity.first) &&
         ParseByte(text.substr(comma + 1), identity.second);
}

bool ParseLayout(std::string_view text, int& layout) {
  int value = 0;
  if (!ParseNumber(text, value)) return false;
  if (value != EcuIdentity::kPairFirst && value != EcuIdentity::kPairLater) return false;
  layout = value;
  return true;
}

struct Option {
  std::string_view name;
  std::string_view value_name;  // empty for a switch
  std::string_view help;
  std::function<bool(std::string_view, SimulatorOptions&)> apply;
};

const std::vector<Option>& Options() {
  static const std::vector<Option> options = {
      {"--link", "PATH",
       "link the device at PATH instead of the well-known link\n"
       "(in $XDG_RUNTIME_DIR, or in /tmp/serqor-UID without it)",
       [](std::string_view v, SimulatorOptions& o) {
         o.link_path = v;
         return !v.empty();
       }},
      {"--eeprom", "FILE",
       "keep the configuration memory in FILE (256 bytes, byte n at\n"
       "address n); a missing FILE starts with the factory contents;\n"
       "the file is replaced after every write",
       [](std::string_view v, SimulatorOptions& o) {
         o.eeprom_path = v;
         return !v.empty();
       }},
      {"--kind", "N", "controller kind in byte 0 of the identification (default 8)",
       [](std::string_view v, SimulatorOptions& o) { return ParseByte(v, o.identity.kind); }},
      {"--ident", "A,B", "identification pair (default 36,24)",
       [](std::string_view v, SimulatorOptions& o) { return ParsePair(v, o.identity); }},
      {"--layout", "1|3",
       "identification layout: 1 puts the pair in bytes 1 and 2 (default),\n"
       "3 sets byte 1 to 3 and puts the pair in bytes 4 and 5",
       [](std::string_view v, SimulatorOptions& o) { return ParseLayout(v, o.identity.layout); }},
      {"--baud", "N",
       "emulate the wire time of every byte at N baud, 10 bits a byte\n"
       "(default 0: no wire time)",
       [](std::string_view v, SimulatorOptions& o) { return ParseInRange(v, 0, 4000000, o.baud); }},
      {"--turnaround", "MS", "wait MS milliseconds after a request before answering (default 0)",
       [](std::string_view v, SimulatorOptions& o) {
         return ParseInRange(v, 0, 60000, o.turnaround_ms);
       }},
      {"--drop-rate", "P", "lose each frame, request or reply, with probability P (0 to 1)",
       [](std::string_view v, SimulatorOptions& o) { return ParseRate(v, o.drop_rate); }},
      {"--corrupt-rate", "P", "flip one bit of each reply with probability P (0 to 1)",
       [](std::string_view v, SimulatorOptions& o) { return ParseRate(v, o.corrupt_rate); }},
      {"--silent", "", "never answer",
       [](std::string_view, SimulatorOptions& o) {
         o.silent = true;
         return true;
       }},
      {"--refuse-session", "", "refuse every request to open a session",
       [](std::string_view, SimulatorOptions& o) {
         o.refuse_sessions = true;
         return true;
       }},
      {"--unplug-after-ms", "N",
       "N milliseconds after start the device disappears and the\n"
       "simulator ends",
       [](std::string_view v, SimulatorOptions& o) {
         return ParseInRange(v, 0LL, 86400000LL, o.unplug_after_ms);
       }},
      {"--seed", "N", "seed of the line faults, for repeatable runs (default 1)",
       [](std::string_view v, SimulatorOptions& o) { return ParseNumber(v, o.seed); }},
      {"--help", "", "show this text and end",
       [](std::string_view, SimulatorOptions& o) {
         o.help = true;
         return true;
       }},
  };
  return options;
}

const Option* FindOption(std::string_view name) {
  for (const Option& option : Options()) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// "  --name VALUE" in a column of its own, then the help, one line of it per line.
void AppendHelp(const Option& option, std::string& text) {
  constexpr std::size_t kHelpColumn = 24;
  std::string head(2, ' ');
  head.append(option.name);
  if (!option.value_name.empty()) head.append(1, ' ').append(option.value_name);
  head.resize(std::max(head.size() + 1, kHelpColumn), ' ');
  std::string_view help = option.help;
  while (!help.empty()) {
    const auto newline = help.find('\n');
    text.append(head).append(help.substr(0, newline)).append(1, '\n');
    head.assign(kHelpColumn, ' ');
    help = newline == std::string_view::npos ? std::string_view() : help.substr(newline + 1);
  }
}

}  // namespace

ParsedOptions ParseSimulatorOptions(std::span<const std::string_view> args) {
  SimulatorOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view name = args[i];
    std::optional<std::string_view> value;
    if (const auto equals = name.find('='); equals != std::string_view::npos) {
      value = name.substr(equals + 1);
      name = name.substr(0, equals);
    }
    const Option* option = FindOption(name);
    if (!option) return {std::nullopt, "unknown option " + std::string(args[i])};
    if (option->value_name.empty()) {
      if (value) return {std::nullopt, std::string(name) + " takes no value"};
      value = std::string_view();
    } else if (!value) {
      if (i + 1 >= args.size()) return {std::nullopt, std::string(name) + " needs a value"};
      value = args[++i];
    }
    if (!option->apply(*value, options))
      return {std::nullopt, "bad value for " + std::string(name) + ": " + std::string(*value)};
  }
  return {options, {}};
}

std::string SimulatorUsage() {
  std::string text =
      "usage: ecusim [options]\n"
      "Simulates the lambda controller on a pseudo-terminal: prints the device, links it at\n"
      "a well-known path and answers the service tool's requests until SIGINT or SIGTERM,\n"
      "or until its parent process ends. Then it removes the link.\n\noptions:\n";
  for (const Option& option : Options()) AppendHelp(option, text);
  return text;
}

}  // namespace vzt
