#pragma once

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "components/comm/Qorconnection.h"
#include "ecusim/EcuMemory.h"
#include "ecusim/SimulatorProcess.h"

namespace vzt::test {

using IdentificationRecord = std::array<unsigned char, LINK_IDENTIFICATION_SIZE>;

// The built library, loaded through the connection component as the program loads it,
// talking to a simulator of its own.
class LinkFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  // Starts the simulator (with its memory in a file) and loads the library pointed at it.
  void StartSimulator(std::vector<std::string> args = {});
  // The program's setup sequence for port 4, then the identification request.
  bool Identify(IdentificationRecord& record);
  void Connect();
  EcuMemory::Image MemoryFile() const;
  int Status() { return link_->GetStatus(); }

  // Declared first so that it is stopped last, after the library let go of the line.
  SimulatorProcess simulator_;
  TQorConnection connection_;
  TSerialLink* link_ = nullptr;
};

}  // namespace vzt::test
