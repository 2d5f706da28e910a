#include "serlink/PortLocator.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "serlink/SimulatorLink.h"

namespace vzt {

namespace {

// The number at the end of a name such as ttyUSB12, or -1.
long TrailingNumber(std::string_view name, std::string_view prefix) {
  const std::string_view digits = name.substr(prefix.size());
  if (digits.empty() || digits.size() > 6) return -1;
  long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return -1;
    value = value * 10 + (c - '0');
  }
  return value;
}

void AppendNumbered(const std::vector<std::string>& entries, std::string_view prefix,
                    std::vector<std::string>& out) {
  std::vector<std::pair<long, std::string>> found;
  for (const std::string& name : entries) {
    if (!name.starts_with(prefix)) continue;
    const long number = TrailingNumber(name, prefix);
    if (number >= 0) found.emplace_back(number, name);
  }
  std::sort(found.begin(), found.end());
  for (auto& [number, name] : found) out.push_back("/dev/" + name);
}

std::vector<std::string> DevEntries() {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

}  // namespace

std::vector<std::string> CandidateDevices(int port, const DeviceScene& scene) {
  if (port >= kFirstComPort && port <= kLastComPort) return {"/dev/ttyS" + std::to_string(port)};
  if (port != kUsbPort) return {};
  if (!scene.env_device.empty()) return {scene.env_device};
  std::vector<std::string> out;
  if (scene.simulator_link_exists) out.push_back(scene.simulator_link);
  AppendNumbered(scene.dev_entries, "ttyUSB", out);
  AppendNumbered(scene.dev_entries, "ttyACM", out);
  return out;
}

std::vector<std::string> SystemCandidateDevices(int port) {
  DeviceScene scene;
  if (const char* device = std::getenv("SERQOR_DEVICE")) scene.env_device = device;
  if (port == kUsbPort && scene.env_device.empty()) {
    scene.simulator_link = DefaultSimulatorLinkPath();
    std::error_code ec;
    scene.simulator_link_exists = std::filesystem::exists(scene.simulator_link, ec);
    scene.dev_entries = DevEntries();
  }
  return CandidateDevices(port, scene);
}

}  // namespace vzt
