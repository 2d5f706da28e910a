#pragma once

#include <string>
#include <vector>

namespace vzt {

// Port indexes of SelectPort: 0 to 3 are the first four serial ports, 4 is "USB".
inline constexpr int kFirstComPort = 0;
inline constexpr int kLastComPort = 3;
inline constexpr int kUsbPort = 4;

// What the search for a device knows about the machine.
struct DeviceScene {
  std::string env_device;                 // SERQOR_DEVICE, empty when unset
  std::string simulator_link;             // the simulator's well-known link
  bool simulator_link_exists = false;
  std::vector<std::string> dev_entries;   // names in /dev
};

// Devices to try for a port, in order. For "USB": SERQOR_DEVICE alone when it is set;
// otherwise the simulator's link if it exists, then ttyUSB* and ttyACM* in name order
// (numbers compared as numbers, so ttyUSB2 comes before ttyUSB10).
std::vector<std::string> CandidateDevices(int port, const DeviceScene& scene);

// The same for this machine as it is now.
std::vector<std::string> SystemCandidateDevices(int port);

}  // namespace vzt
