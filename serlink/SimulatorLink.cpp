#include "serlink/SimulatorLink.h"

#include <unistd.h>

#include <cstdlib>

namespace vzt {

namespace {
constexpr const char* kLinkName = "serqor-ecu";
}

std::string PrivateTempFolder(unsigned uid) { return "/tmp/serqor-" + std::to_string(uid); }

std::string SimulatorLinkPath(const char* runtime_dir, unsigned uid) {
  if (runtime_dir && runtime_dir[0] == '/') return std::string(runtime_dir) + "/" + kLinkName;
  return PrivateTempFolder(uid) + "/" + kLinkName;
}

std::string DefaultSimulatorLinkPath() {
  return SimulatorLinkPath(std::getenv("XDG_RUNTIME_DIR"), static_cast<unsigned>(::getuid()));
}

}  // namespace vzt
