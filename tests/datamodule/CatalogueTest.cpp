#include <gtest/gtest.h>

#include "DataModuleFixture.h"
#include "components/comm/DataRefresher.h"
#include "components/translator/Translator.h"
#include "datamodule/Catalogue.h"

using namespace vzt;
using vzt::test::DataModuleTest;

namespace {

TEST_F(DataModuleTest, HoldsItsComponentsInComponentOrder) {
  const auto& all = module->Components();
  ASSERT_EQ(all.size(), 77u);
  const std::pair<std::size_t, const char*> landmarks[] = {
      {0, "QorConnection"}, {1, "DataRefresher"}, {2, "TipoAccensione"}, {18, "Checkup"},
      {19, "ValoreLambda"}, {20, "TemperaturaPerCambio"}, {26, "FasciaLambda"},
      {28, "Riprogrammazione"}, {30, "ValoreGiri"}, {33, "GiriCutOff"}, {34, "Translator"},
      {35, "GiriFuoriGiri"}, {55, "NPassiTestMagroPower"}, {76, "TempoRetropassaggio"}};
  for (auto [index, name] : landmarks) EXPECT_EQ(all[index]->Name(), name) << index;
  int numbers = 0, packets = 0;
  for (Component* c : all) {
    numbers += dynamic_cast<TQorNumber*>(c) ? 1 : 0;
    packets += dynamic_cast<TQorPacketData*>(c) ? 1 : 0;
  }
  EXPECT_EQ(numbers, 65);
  EXPECT_EQ(packets, 9);
  EXPECT_EQ(module->QorConnection()->DllName(), "");
  EXPECT_TRUE(module->QorConnection()->AutoLoadLibrary());
  EXPECT_EQ(module->DataRefresher()->Connection(), module->QorConnection());
}

TEST_F(DataModuleTest, EveryParameterIsSetUpLikeTheCatalogue) {
  for (Component* c : module->Components()) {
    auto* n = dynamic_cast<TQorNumber*>(c);
    if (!n) continue;
    SCOPED_TRACE(n->Name());
    EXPECT_EQ(n->Connection(), module->QorConnection());
    EXPECT_EQ(n->GetNumberType(), ntSingle);
    EXPECT_EQ(n->RequestCode(), 0u);
    EXPECT_TRUE(n->StoreUserValue);
    EXPECT_FALSE(n->ReadOnly);
    EXPECT_FALSE(n->FileKeyName.empty());
    const bool command = n->Name() == "Riprogrammazione";
    EXPECT_EQ(n->ByAddress, !command);
    EXPECT_EQ(n->FileSection, command ? "COMANDI" : "CONFIGURAZIONE");
    EXPECT_EQ(n->DataGroup, n->Name().rfind("Giri", 0) == 0 ? 1 : 0);
  }
}

TEST_F(DataModuleTest, LiveItemsShareOnePacketRequest) {
  auto elements = module->DataRefresher()->Thread()->Elements();
  ASSERT_EQ(elements.size(), 1u);
  EXPECT_EQ(elements[0].code, static_cast<int>(RC_PACKET));
  ASSERT_EQ(elements[0].clients.size(), 9u);
  for (const auto& client : elements[0].clients) {
    EXPECT_TRUE(client.active);
    EXPECT_EQ(client.interval, 100);
  }
  std::vector<int> offsets;
  for (Component* c : module->Components())
    if (auto* p = dynamic_cast<TQorPacketData*>(c)) offsets.push_back(p->Offset());
  EXPECT_EQ(offsets, (std::vector<int>{1, 2, 3, 4, 5, 7, 6, 8, 0}));
}

// The user value each parameter holds after the reset all of start-up, as its default
// reads back.
TEST_F(DataModuleTest, StartsAtTheDefaultsAsTheyReadBack) {
  // Loading applies the limits, the reset all does not: 12000 RPM is beyond 8000.
  EXPECT_EQ(N("GiriFuoriGiri").RawValue(), 15);
  module->ResetAll();
  const std::pair<const char*, double> cases[] = {
      {"TipoCambio", 1},           {"TempoSovrapposizione", 0.4}, {"RitardoLetturaSonda", 5},
      {"TPSPerAffondata", 2.8},    {"IsteresiMinTPS", 0.14},      {"TemperaturaPerCambio", 25},
      {"GiriPerCambio", 2000},     {"GiriCutOff", 1500},          {"GiriFuoriGiri", 11700},
      {"NVolteAlto", 0.36},        {"RifLambdaAlMinimo", 0.55},   {"TipoEmulazione", 1},
      {"TempoDiCicchetto", 1},     {"FlagConfigurazione3", 16},   {"FrazDefEscoMinimo", 5},
      {"FlagConfigurazione", 32},  {"TPSFasciaApprendimento", 2}, {"MinimaAperturaInCrociera", 255},
  };
  for (auto [name, value] : cases) EXPECT_DOUBLE_EQ(N(name).GetDouble(), value) << name;
  EXPECT_EQ(N("GiriFuoriGiri").RawValue(), 10);
  EXPECT_EQ(N("TipoCambio").RawValue(), 8);
}

TEST_F(DataModuleTest, CustomConversionsOfSignedMagnitudeAndInvertedBit) {
  struct Case {
    double user;
    int raw;
  };
  TQorNumber& position = N("PosizioneASondaFredda");
  for (auto [user, raw] : {Case{0, 0}, Case{127, 127}, Case{-1, 129}, Case{-127, 255}, Case{5.7, 5}}) {
    EXPECT_EQ(position.ConvertValueToEcu(user, nullptr), raw) << user;
  }
  for (auto [user, raw] : {Case{0, 128}, Case{-1, 129}, Case{-127, 255}, Case{100, 100}}) {
    EXPECT_EQ(position.ConvertValueToUser(raw), user) << raw;
  }
  EXPECT_EQ(position.ConversionTableLength(), 256);
  TQorNumber& flags = N("FlagConfigurazione3");
  EXPECT_EQ(flags.ConvertValueToUser(0x30), 0x20);
  EXPECT_EQ(flags.ConvertValueToEcu(0xE0, nullptr), 0xF0);
}

TEST_F(DataModuleTest, LookupByNameOrFileKey) {
  EXPECT_EQ(module->FindParameter("GiriCutOff"), &N("GiriCutOff"));
  EXPECT_EQ(module->FindParameter("giri cutoff"), &N("GiriCutOff"));
  EXPECT_EQ(module->FindParameter("ValoreGiri"), nullptr);
  EXPECT_EQ(module->FindParameter("nothing"), nullptr);
}

TEST(Catalogue, TemperatureTableIsTheSensorCurve) {
  ASSERT_EQ(NtcRatios().size(), 48u);
  ASSERT_EQ(NtcDegrees().size(), 48u);
  EXPECT_EQ(NtcDegrees().front(), -55);
  EXPECT_EQ(NtcDegrees().back(), 180);
  EXPECT_EQ(NtcRatios()[16], 1.0);  // 25 °C
  for (std::size_t i = 1; i < NtcRatios().size(); ++i) EXPECT_LT(NtcRatios()[i], NtcRatios()[i - 1]);
}

}  // namespace
