#pragma once

#include <string>

namespace vzt {

// The well-known path where a running simulator links its device: in the user's runtime
// folder, or in a folder of the user's own under /tmp where there is none.
std::string SimulatorLinkPath(const char* runtime_dir, unsigned uid);
std::string DefaultSimulatorLinkPath();

// The per-user folder under /tmp used when there is no runtime folder.
std::string PrivateTempFolder(unsigned uid);

}  // namespace vzt
