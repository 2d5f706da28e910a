#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "datamodule/SerialDataModule.h"
#include "fixtures/FakeLink.h"
#include "fixtures/RecordingHost.h"
#include "platform/NumberText.h"

namespace vzt::test {

// A data module without a library, whose connection can be handed an in-process link.
// The handlers' waits are recorded instead of slept.
class DataModuleTest : public ::testing::Test {
 protected:
  DataModuleTest() {
    SetDecimalSeparator('.');
    DataModuleOptions options;
    options.dllName = "";
    options.host = &host;
    options.wait = [this](std::uint32_t ms) { waits.push_back(ms); };
    module = std::make_unique<TSerialDataModule>(options);
  }
  ~DataModuleTest() override {
    module.reset();
    SetDecimalSeparator('\0');
  }

  // Puts the fake controller on the line, its memory as the simulator's factory image.
  void Online() {
    link.open = true;
    module->QorConnection()->AttachLink(&link);
  }

  TQorNumber& N(const char* name) { return *module->Number(name); }
  TQorPacketData& P(const char* name) { return *module->Packet(name); }

  RecordingHost host;
  FakeLink link;
  std::vector<std::uint32_t> waits;
  std::unique_ptr<TSerialDataModule> module;
};

}  // namespace vzt::test
