#include <gtest/gtest.h>

#include "DataModuleFixture.h"
#include "components/comm/DataRefresher.h"

using namespace vzt;
using vzt::test::DataModuleTest;
using vzt::test::RecordingHost;

namespace {

class HandlersTest : public DataModuleTest {
 protected:
  void SetUp() override {
    // The controller's factory contents where these tests look.
    link.memory[163] = 0x08;  // ignition 0, changeover on acceleration
    link.memory[204] = 78;    // 1500 RPM
    link.memory[213] = 0;
    link.memory[223] = 59;    // 2000 RPM
    link.memory[225] = 10;
    link.memory[207] = 240;
    link.memory[208] = 20;
    link.memory[168] = 100;
    Online();
  }
};

TEST_F(HandlersTest, IgnitionTypeRescalesTheThresholdsKeepingTheirRpm) {
  ASSERT_EQ(N("GiriCutOff").GetInt(), 1500);
  ASSERT_TRUE(N("TipoAccensione").SetInt(3));
  EXPECT_EQ(link.memory[204], 39);
  EXPECT_EQ(N("GiriCutOff").GetInt(), 1500);
  EXPECT_EQ(link.memory[223], 29);  // 2000 RPM at 58500
  EXPECT_EQ(link.memory[213], 0);   // "off" cannot be expressed in RPM: never rewritten
  EXPECT_EQ(link.memory[163] & 0x07, 3);
  EXPECT_EQ(waits, std::vector<std::uint32_t>{1000});
  EXPECT_EQ(P("ValoreGiri").CoeffB, 58500);
}

TEST_F(HandlersTest, IgnitionTypeLeavesBytePrimingTimeAlone) {
  ASSERT_TRUE(N("TipoCambio").SetInt(2));
  EXPECT_EQ(link.memory[223], 40);  // 0.8 s
  ASSERT_TRUE(N("TipoAccensione").SetInt(1));
  EXPECT_EQ(link.memory[223], 40);
  EXPECT_EQ(N("GiriCutOff").CoeffB, 93600);
}

TEST_F(HandlersTest, ChangeoverModeRewritesByte223) {
  struct Case {
    int mode;
    int byte223;
  };
  for (auto [mode, byte223] : {Case{2, 40}, Case{0, 59}, Case{1, 59}}) {
    link.memory[223] = 0;
    ASSERT_TRUE(N("TipoCambio").SetInt(mode));
    EXPECT_EQ(link.memory[223], byte223) << mode;
    EXPECT_EQ((link.memory[163] >> 3) & 3, mode);
  }
  EXPECT_EQ(host.changeoverFieldUpdates, 3);
}

TEST_F(HandlersTest, ThrottleTypeFlipsTheVoltageDirection) {
  link.memory[164] = 1 << 5;  // type 1: voltage falls as the throttle opens
  link.memory[166] = 51;
  N("TipoTPS").Load();
  std::array<std::uint32_t, 64> packet{};
  reinterpret_cast<unsigned char*>(packet.data())[4 + 3] = 51;
  P("ValoreMinTPS").UpdateData(packet.data());
  EXPECT_DOUBLE_EQ(P("ValoreMinTPS").GetDouble(), 4.0);
  EXPECT_DOUBLE_EQ(N("TPSPerAffondata").GetDouble(), 4.0);
  EXPECT_EQ(P("ValoreTPS").CoeffA, 5);  // the other voltages keep their scale
  ASSERT_TRUE(N("TipoTPS").SetInt(0));
  EXPECT_DOUBLE_EQ(P("ValoreMinTPS").GetDouble(), 1.0);
  EXPECT_DOUBLE_EQ(N("TPSPerAffondata").GetDouble(), 1.0);
}

TEST_F(HandlersTest, RicherLambdaReferenceFollowsBothReferences) {
  link.memory[200] = 31;  // 0.6 V
  ASSERT_TRUE(N("RifLambdaAlMinimo").SetDouble(0.8));
  EXPECT_EQ(link.memory[198], 41);  // 0.8 V
  ASSERT_TRUE(N("RifLambdaFuoriMinimo").SetDouble(0.5));
  EXPECT_DOUBLE_EQ(N("RifLambdaRiccoFreddo").GetDouble(), 0.8);
  EXPECT_EQ(link.Count("WriteByAddress 0 198 41"), 2);
}

TEST_F(HandlersTest, ActuatorLimitsBoundTheDefaultAndCutOffPositions) {
  ASSERT_TRUE(N("MaxAperturaAttuatore").SetInt(200));
  EXPECT_EQ(N("PosizioneInCutoff").ValueMax(), 200);
  EXPECT_EQ(N("PosizioneDefault").ValueMax(), 200);
  ASSERT_TRUE(N("MinAperturaAttuatore").SetInt(50));
  EXPECT_EQ(N("PosizioneDefault").ValueMin(), 50);
  // Each write waits, and so does the first read of the other limit inside the handler.
  EXPECT_EQ(waits, (std::vector<std::uint32_t>{100, 100, 100}));
  // Below the default position's minimum the maximum stays as it was.
  ASSERT_TRUE(N("MaxAperturaAttuatore").SetInt(10));
  EXPECT_EQ(N("PosizioneDefault").ValueMax(), 200);
  EXPECT_EQ(N("PosizioneInCutoff").ValueMax(), 200);
}

TEST_F(HandlersTest, ConfigurationFlagsShowFieldsAndReReadTheDefaultPosition) {
  const int before = link.Count("ReadByAddress 0 168");
  ASSERT_TRUE(N("FlagConfigurazione").SetInt(32 | 1));
  EXPECT_EQ(host.optionalFieldUpdates, 1);
  EXPECT_EQ(link.Count("ReadByAddress 0 168"), before + 1);
}

TEST_F(HandlersTest, LambdaProbeTypeReReadsTheSharedFlagByte) {
  link.memory[165] = 0x10;
  ASSERT_TRUE(N("TipoSondaLambda").SetInt(2));
  EXPECT_EQ(link.memory[165], 0x50);
  EXPECT_EQ(N("FlagConfigurazione3").RawValue(), 0x50);
}

class LiveHandlersTest : public HandlersTest {
 protected:
  void Deliver(int offset, unsigned char value) {
    reinterpret_cast<unsigned char*>(packet.data())[4 + offset] = value;
    for (Component* c : module->Components())
      if (auto* p = dynamic_cast<TQorPacketData*>(c); p && p->Offset() == offset)
        p->UpdateData(packet.data());
  }
  std::array<std::uint32_t, 64> packet{};
};

TEST_F(LiveHandlersTest, EngineStandingShowsZeroRpm) {
  Deliver(0, 255);
  EXPECT_EQ(P("ValoreGiri").GetDouble(), 0);
  Deliver(0, 200);
  EXPECT_EQ(P("ValoreGiri").GetDouble(), 590);
}

TEST_F(LiveHandlersTest, BandLampsLightOneAndDarkenTheOthersFirst) {
  Deliver(6, 1);
  using L = RecordingHost::LampCall;
  EXPECT_EQ(host.lampCalls, (std::vector<L>{{LampGroup::Lambda, 0, 0},
                                            {LampGroup::Lambda, 2, 0},
                                            {LampGroup::Lambda, 1, 100}}));
  Deliver(7, 3);
  EXPECT_EQ(host.lamps[std::make_pair(LampGroup::Throttle, 3)], 100);
  const auto calls = host.lampCalls.size();
  Deliver(7, 4);  // out of range: nothing changes
  Deliver(6, 3);
  EXPECT_EQ(host.lampCalls.size(), calls);
}

TEST_F(LiveHandlersTest, DefaultPositionPollsTheAcquiredFlagUntilSet) {
  link.memory[122] = 0;
  Deliver(5, 100);  // the first look reads the flag, then it is read again
  Deliver(5, 101);
  EXPECT_EQ(link.Count("ReadByAddress 0 122"), 3);
  EXPECT_EQ(host.colours.back(), 0x00FFFFu);
  link.memory[122] = 0x08;
  Deliver(5, 102);
  EXPECT_EQ(host.colours.back(), 0xFFFF00u);
  Deliver(5, 103);  // acquired: no more reads
  EXPECT_EQ(link.Count("ReadByAddress 0 122"), 4);
}

TEST_F(LiveHandlersTest, ClearLiveValuesShowsZerosAndKeepsTheConversions) {
  Deliver(0, 200);
  Deliver(1, 100);
  module->ClearLiveValues();
  EXPECT_EQ(P("ValoreGiri").RawValue(), 0);
  EXPECT_EQ(P("ValoreLambda").RawValue(), 0);
  EXPECT_EQ(P("ValoreLambda").Transformation(), ttFormula);
  EXPECT_EQ(P("ValoreTemperatura").Transformation(), ttNonLinearTabled);
}

}  // namespace
