#include <gtest/gtest.h>

#include <vector>

#include "ecusim/SimulatorOptions.h"

namespace vzt {
namespace {

ParsedOptions Parse(std::vector<std::string_view> args) { return ParseSimulatorOptions(args); }

TEST(SimulatorOptions, DefaultsDescribeTheExpectedController) {
  const ParsedOptions parsed = Parse({});
  ASSERT_TRUE(parsed.options);
  const SimulatorOptions& o = *parsed.options;
  EXPECT_EQ(o.identity.Record()[0], 8);
  EXPECT_EQ(o.identity.Record()[1], 36);
  EXPECT_EQ(o.identity.Record()[2], 24);
  EXPECT_EQ(o.baud, 0);
  EXPECT_FALSE(o.silent);
  EXPECT_LT(o.unplug_after_ms, 0);
  EXPECT_TRUE(o.link_path.empty());
}

TEST(SimulatorOptions, EveryOptionIsTaken) {
  const ParsedOptions parsed =
      Parse({"--link", "/tmp/x/link", "--eeprom=/tmp/x/mem", "--kind", "9", "--ident", "36,25",
             "--layout", "3", "--baud", "19200", "--turnaround", "2", "--drop-rate", "0.05",
             "--corrupt-rate=0.5", "--silent", "--refuse-session", "--unplug-after-ms", "1500",
             "--seed", "42"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  const SimulatorOptions& o = *parsed.options;
  EXPECT_EQ(o.link_path, "/tmp/x/link");
  EXPECT_EQ(o.eeprom_path, "/tmp/x/mem");
  EXPECT_EQ(o.identity.kind, 9);
  EXPECT_EQ(o.identity.first, 36);
  EXPECT_EQ(o.identity.second, 25);
  EXPECT_EQ(o.identity.layout, EcuIdentity::kPairLater);
  EXPECT_EQ(o.baud, 19200);
  EXPECT_EQ(o.turnaround_ms, 2);
  EXPECT_DOUBLE_EQ(o.drop_rate, 0.05);
  EXPECT_DOUBLE_EQ(o.corrupt_rate, 0.5);
  EXPECT_TRUE(o.silent);
  EXPECT_TRUE(o.refuse_sessions);
  EXPECT_EQ(o.unplug_after_ms, 1500);
  EXPECT_EQ(o.seed, 42u);
}

TEST(SimulatorOptions, BadArgumentsAreRefusedWithTheReason) {
  const std::vector<std::vector<std::string_view>> cases = {
      {"--nonsense"},          {"--kind"},           {"--kind", "256"},
      {"--kind", "8x"},        {"--ident", "36"},    {"--ident", "36,"},
      {"--ident", "36,24,1"},  {"--layout", "2"},    {"--drop-rate", "1.5"},
      {"--drop-rate", "-0.1"}, {"--baud", "-1"},     {"--silent=yes"},
      {"--link", ""},          {"--seed", "many"},   {"--unplug-after-ms", "-5"},
  };
  for (const auto& args : cases) {
    const ParsedOptions parsed = Parse(args);
    EXPECT_FALSE(parsed.options) << args[0];
    EXPECT_NE(parsed.error.find(args[0].substr(0, args[0].find('='))), std::string::npos)
        << parsed.error;
  }
}

}  // namespace
}  // namespace vzt
