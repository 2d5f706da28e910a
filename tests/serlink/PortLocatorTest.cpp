#include <gtest/gtest.h>

#include "serlink/PortLocator.h"
#include "serlink/SimulatorLink.h"

namespace vzt {
namespace {

using Devices = std::vector<std::string>;

TEST(PortLocator, ComPortsAreTheFirstFourSerialPorts) {
  const DeviceScene scene{"/dev/ignored", "/run/user/1/serqor-ecu", true, {"ttyUSB0"}};
  for (int port = 0; port <= 3; ++port)
    EXPECT_EQ(CandidateDevices(port, scene), Devices{"/dev/ttyS" + std::to_string(port)});
  EXPECT_TRUE(CandidateDevices(5, scene).empty());
  EXPECT_TRUE(CandidateDevices(-1, scene).empty());
}

TEST(PortLocator, UsbSearchOrder) {
  struct Case {
    const char* what;
    DeviceScene scene;
    Devices expected;
  };
  const std::vector<std::string> dev = {"ttyACM1", "ttyUSB10", "null", "ttyUSB2", "ttyUSBx",
                                        "ttyACM0", "ttyS0",    "ttyUSB", "ttyUSB0"};
  const Case cases[] = {
      {"the environment's device alone", {"/tmp/x/link", "/run/sim", true, dev}, {"/tmp/x/link"}},
      {"simulator first, then USB and ACM by number",
       {"", "/run/sim", true, dev},
       {"/run/sim", "/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyACM0",
        "/dev/ttyACM1"}},
      {"no simulator running", {"", "/run/sim", false, {"ttyACM0", "ttyUSB3"}},
       {"/dev/ttyUSB3", "/dev/ttyACM0"}},
      {"nothing at all", {"", "/run/sim", false, {"null", "zero"}}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(CandidateDevices(4, c.scene), c.expected) << c.what;
}

TEST(SimulatorLink, RuntimeFolderOrAPrivateOneUnderTmp) {
  EXPECT_EQ(SimulatorLinkPath("/run/user/1000", 1000), "/run/user/1000/serqor-ecu");
  EXPECT_EQ(SimulatorLinkPath(nullptr, 1000), "/tmp/serqor-1000/serqor-ecu");
  EXPECT_EQ(SimulatorLinkPath("", 1000), "/tmp/serqor-1000/serqor-ecu");
  EXPECT_EQ(SimulatorLinkPath("relative", 7), "/tmp/serqor-7/serqor-ecu");
}

}  // namespace
}  // namespace vzt
