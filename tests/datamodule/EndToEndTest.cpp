// The data module with the real communication library talking to the simulator.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "components/comm/DataRefresher.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "datamodule/SerialDataModule.h"
#include "ecusim/EcuMemory.h"
#include "ecusim/SimulatorProcess.h"
#include "fixtures/RecordingHost.h"
#include "platform/MainThread.h"
#include "platform/NumberText.h"

using namespace vzt;
using vzt::test::RecordingHost;

namespace {

class EndToEndTest : public ::testing::Test {
 protected:
  void TearDown() override {
    module.reset();
    unsetenv("SERQOR_DEVICE");
    SetDecimalSeparator('\0');
  }

  void Start(std::vector<std::string> args = {}) {
    SetDecimalSeparator('.');
    args.insert(args.end(), {"--eeprom", simulator.EepromPath()});
    ASSERT_TRUE(simulator.Start(args));
    setenv("SERQOR_DEVICE", simulator.LinkPath().c_str(), 1);
    DataModuleOptions options;
    options.host = &host;
    options.wait = [](std::uint32_t) {};
    module = std::make_unique<TSerialDataModule>(options);
    module->ResetAll();
  }

  EcuMemory::Image Memory() const {
    EcuMemory::Image image{};
    std::ifstream in(simulator.EepromPath(), std::ios::binary);
    in.read(reinterpret_cast<char*>(image.data()), image.size());
    return image;
  }

  bool Open() const {
    TQorConnection* c = module->QorConnection();
    return c->Loaded() && c->Link()->IsOpen() != 0;
  }

  TQorNumber& N(const char* name) { return *module->Number(name); }

  SimulatorProcess simulator;  // first in, last out: stopped after the library let go
  RecordingHost host;
  std::unique_ptr<TSerialDataModule> module;
};

TEST_F(EndToEndTest, ConnectReadsTheFactoryConfiguration) {
  Start();
  ASSERT_EQ(module->Connect(4, 0), kConnectDone);
  EXPECT_TRUE(Open());
  EXPECT_EQ(module->Identification()[0], 8);
  EXPECT_EQ(N("GiriCutOff").GetInt(), 1500);
  EXPECT_DOUBLE_EQ(N("TempoSovrapposizione").GetDouble(), 0.4);
  EXPECT_DOUBLE_EQ(N("TemperaturaPerCambio").GetDouble(), 25);
  EXPECT_EQ(N("TipoCambio").GetInt(), 1);
  ASSERT_EQ(host.waits.size(), 1u);
  EXPECT_GE(host.waits[0]->lines.size(), 70u);
  EXPECT_EQ(module->Connect(4, 0), kConnectAlreadyOpen);
}

struct RejectCase {
  const char* what;
  std::vector<std::string> args;
  int result;
};

void PrintTo(const RejectCase& c, std::ostream* os) { *os << c.what; }

class RejectTest : public EndToEndTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(RejectTest, OtherControllersAreNotConnected) {
  Start(GetParam().args);
  EXPECT_EQ(module->Connect(4, 0), GetParam().result);
  EXPECT_FALSE(Open());
  EXPECT_FALSE(module->QorConnection()->Loaded());
}

INSTANTIATE_TEST_SUITE_P(
    Controllers, RejectTest,
    ::testing::Values(RejectCase{"OtherKind", {"--kind", "9"}, kConnectWrongKind},
                      RejectCase{"WrongPair", {"--ident", "1,2"}, kConnectDone},
                      RejectCase{"WrongPairLayout3", {"--layout", "3", "--ident", "36,25"},
                                 kConnectDone},
                      RejectCase{"Silent", {"--silent"}, kConnectNoAnswer}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(EndToEndTest, Layout3IsAccepted) {
  Start({"--layout", "3"});
  EXPECT_EQ(module->Connect(4, 0), kConnectDone);
  EXPECT_TRUE(Open());
  EXPECT_EQ(module->Identification()[1], 3);
}

TEST_F(EndToEndTest, IgnitionTypeRescalesTheSimulatorsThresholds) {
  Start();
  ASSERT_EQ(module->Connect(4, 0), kConnectDone);
  ASSERT_TRUE(N("TipoAccensione").SetInt(3));
  const auto memory = Memory();
  EXPECT_EQ(memory[163] & 0x07, 3);
  EXPECT_EQ(memory[163] & 0x18, 0x08);  // the changeover mode's bits stay
  EXPECT_EQ(memory[204], 39);
  EXPECT_EQ(N("GiriCutOff").GetInt(), 1500);
}

TEST_F(EndToEndTest, SaveAndLoadRoundTripThroughTheController) {
  Start();
  ASSERT_EQ(module->Connect(4, 0), kConnectDone);
  ASSERT_TRUE(N("GiriCutOff").SetInt(2000));
  ASSERT_TRUE(N("TempoSovrapposizione").SetDouble(0.6));
  const std::string file = simulator.PathOf("config.qcf");
  ASSERT_TRUE(module->Save(file));
  ASSERT_TRUE(N("GiriCutOff").SetInt(1000));
  ASSERT_TRUE(N("TempoSovrapposizione").SetDouble(0.2));
  ASSERT_TRUE(module->Load(file)) << (host.messages.empty() ? "" : "a message was shown");
  const auto memory = Memory();
  EXPECT_EQ(memory[204], 59);   // 117000 / 2000
  EXPECT_EQ(memory[216], 151);  // 0.6 s
  EXPECT_EQ(memory[223], 59);   // the file's changeover speed, written last
}

TEST_F(EndToEndTest, LiveDataReachesTheItemsWhileTheRefresherRuns) {
  Start();
  ASSERT_EQ(module->Connect(4, kConnectRefresherOn), kConnectDone);
  TQorPacketData& rpm = *module->Packet("ValoreGiri");
  TQorPacketData& position = *module->Packet("ValorePosizioneDefault");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (position.RawValue() == 0 && std::chrono::steady_clock::now() < deadline)
    MainThread::Instance().WaitAndProcess(std::chrono::milliseconds(10));
  EXPECT_EQ(position.RawValue(), 100);
  EXPECT_GE(rpm.GetDouble(), 0);
  EXPECT_TRUE(module->PauseRefresher());
}

}  // namespace
