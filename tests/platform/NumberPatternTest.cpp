#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/NumberPattern.h"
#include "platform/NumberText.h"

using namespace vzt;

namespace {

class SeparatorGuard {
 public:
  explicit SeparatorGuard(char separator) { SetDecimalSeparator(separator); }
  ~SeparatorGuard() { SetDecimalSeparator('\0'); }
};

struct PatternCase {
  char separator;
  const char* pattern;
  double value;
  const char* expected;
};

class NumberPatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(NumberPatternTest, Formats) {
  const PatternCase& c = GetParam();
  SeparatorGuard guard(c.separator);
  EXPECT_EQ(FormatNumberPattern(c.pattern, c.value), c.expected)
      << "pattern \"" << c.pattern << "\" value " << c.value;
}

INSTANTIATE_TEST_SUITE_P(LivePanelPatterns, NumberPatternTest, ::testing::Values(
    PatternCase{',', "0.00 V", 1.234, "1,23 V"},
    PatternCase{'.', "0.00 V", 1.234, "1.23 V"},
    PatternCase{',', "0.00 V", 2.5, "2,50 V"},
    PatternCase{',', "0.00 V", 0, "0,00 V"},
    PatternCase{',', "##0 \xC2\xB0" "C", 87.6, "88 \xC2\xB0" "C"},
    PatternCase{',', "##0 \xC2\xB0" "C", -12.4, "-12 \xC2\xB0" "C"},
    PatternCase{',', "###0 RPM", 0, "0 RPM"},
    PatternCase{',', "###0 RPM", 12345, "12345 RPM"},
    PatternCase{',', "###0 RPM", 2999.5, "3000 RPM"}));

INSTANTIATE_TEST_SUITE_P(Rounding, NumberPatternTest, ::testing::Values(
    // halfway goes away from zero, judged on the value as it reads
    PatternCase{',', "0.00", 0.005, "0,01"},
    PatternCase{',', "0.00", 2.675, "2,68"},
    PatternCase{',', "0", 2.5, "3"},
    PatternCase{',', "0", -2.5, "-3"},
    PatternCase{',', "0.00", 9.999, "10,00"},
    PatternCase{',', "0.00", 0.0049, "0,00"},
    // a value that rounds to zero loses its minus sign
    PatternCase{',', "0.00 V", -0.004, "0,00 V"},
    PatternCase{',', "0.00", 1e-300, "0,00"}));

INSTANTIATE_TEST_SUITE_P(Places, NumberPatternTest, ::testing::Values(
    PatternCase{',', "000", 7, "007"},
    PatternCase{',', "#", 0, ""},
    PatternCase{',', "#.##", 0.5, ",5"},
    PatternCase{',', "0.0#", 1, "1,0"},
    PatternCase{',', "0.0#", 1.25, "1,25"},
    PatternCase{',', "0.##", 3, "3"},
    PatternCase{',', ".00", 1.5, "1,50"},
    PatternCase{',', "0.0.0", 1.25, "1,25"},
    PatternCase{',', "0-0", 12, "1-2"},
    PatternCase{',', "0-0", 345, "34-5"},
    PatternCase{',', "#,##0", 1234567, "1.234.567"},
    PatternCase{'.', "#,##0.0", 1234.56, "1,234.6"},
    PatternCase{',', "#,##0", 999, "999"}));

INSTANTIATE_TEST_SUITE_P(SectionsAndText, NumberPatternTest, ::testing::Values(
    PatternCase{',', "0;(0);'zero'", 5, "5"},
    PatternCase{',', "0;(0);'zero'", -5, "(5)"},
    PatternCase{',', "0;(0);'zero'", 0.2, "zero"},
    PatternCase{',', "0;;'zero'", -5, "-5"},
    PatternCase{',', "0.0;-0.0 'below'", -1.25, "-1,3 below"},
    PatternCase{',', "\"0.#;\"0", 5, "0.#;5"},
    PatternCase{',', "'#'0 V", 5, "#5 V"},
    PatternCase{',', "'unclosed", 5, "unclosed"},
    PatternCase{',', "0;1;2;3", 0, "2"},
    PatternCase{',', "text", 5, "text"}));

INSTANTIATE_TEST_SUITE_P(GeneralForm, NumberPatternTest, ::testing::Values(
    PatternCase{',', "", 2.5, "2,5"},
    PatternCase{',', "0.00", 1e20, "1E20"},
    PatternCase{',', "0.00", -1e18, "-1E18"},
    PatternCase{',', "0.00", std::numeric_limits<double>::quiet_NaN(), "NAN"},
    PatternCase{',', "0.00", -std::numeric_limits<double>::infinity(), "-INF"}));

TEST(NumberPatternWideTest, KeepsUnitsOutsideAsciiInWideText) {
  SeparatorGuard guard(',');
  EXPECT_EQ(FormatNumberPattern(u"##0 \u00B0C", 87.6), u"88 \u00B0C");
  EXPECT_EQ(FormatNumberPattern(u"0.00 V", 2.5), u"2,50 V");
  EXPECT_EQ(FormatNumberPattern(std::u16string_view(), 2.5), u"2,5");
}

}  // namespace
