#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/NumberText.h"

using namespace vzt;

namespace {

class NumberText : public ::testing::Test {
 protected:
  void TearDown() override { SetDecimalSeparator('\0'); }
};

struct FormatCase {
  double value;
  const char* point;
  const char* comma;
};

TEST_F(NumberText, GeneralFormInBothRegions) {
  const FormatCase cases[] = {
      {0, "0", "0"},
      {0.4, "0.4", "0,4"},
      {2000, "2000", "2000"},
      {-2.5, "-2.5", "-2,5"},
      {1275, "1275", "1275"},
      {0.55, "0.55", "0,55"},
      {1.0 / 3, "0.333333333333333", "0,333333333333333"},
      {2.0 / 3, "0.666666666666667", "0,666666666666667"},
      {0.1 + 0.2, "0.3", "0,3"},
      {123456789012345, "123456789012345", "123456789012345"},
      {1e15, "1E15", "1E15"},
      {1e20, "1E20", "1E20"},
      {0.0001, "0.0001", "0,0001"},
      {0.00001, "1E-5", "1E-5"},
      {1.5e-7, "1.5E-7", "1,5E-7"},
      {-10000001, "-10000001", "-10000001"},
  };
  for (const FormatCase& c : cases) {
    SetDecimalSeparator('.');
    EXPECT_EQ(FloatToText(c.value), c.point);
    SetDecimalSeparator(',');
    EXPECT_EQ(FloatToText(c.value), c.comma);
  }
}

TEST_F(NumberText, NonFiniteValuesHaveAText) {
  EXPECT_EQ(FloatToText(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FloatToText(-std::numeric_limits<double>::infinity()), "-INF");
}

struct ParseCase {
  char separator;
  const char* text;
  bool ok;
  double value;
};

TEST_F(NumberText, ReadsOnlyWellFormedNumbers) {
  const ParseCase cases[] = {
      {'.', "2500", true, 2500},     {'.', " 0.55 ", true, 0.55}, {'.', "-2.7", true, -2.7},
      {'.', "+3", true, 3},          {'.', ".5", true, 0.5},      {'.', "5.", true, 5},
      {'.', "1E3", true, 1000},      {'.', "1.5e-2", true, 0.015}, {',', "0,4", true, 0.4},
      {',', "0.4", false, 0},        {'.', "0,4", false, 0},      {'.', "", false, 0},
      {'.', "  ", false, 0},         {'.', ".", false, 0},        {'.', "-", false, 0},
      {'.', "12abc", false, 0},      {'.', "1e", false, 0},       {'.', "1e+", false, 0},
      {'.', "nan", false, 0},        {'.', "inf", false, 0},      {'.', "1 2", false, 0},
      {'.', "1e999", false, 0},      {'.', "--1", false, 0},      {'.', "0x10", false, 0},
  };
  for (const ParseCase& c : cases) {
    SetDecimalSeparator(c.separator);
    auto v = TextToFloat(c.text);
    EXPECT_EQ(v.has_value(), c.ok) << '"' << c.text << '"';
    if (v && c.ok) {
      EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
  }
}

TEST_F(NumberText, TextRoundTripsThroughBothRegions) {
  for (char sep : {'.', ','}) {
    SetDecimalSeparator(sep);
    for (double v : {0.4, 1.0 / 7, -12345.678, 3e-9, 6.02e23}) {
      auto back = TextToFloat(FloatToText(v));
      ASSERT_TRUE(back.has_value());
      EXPECT_NEAR(*back, v, std::fabs(v) * 1e-14);
    }
  }
}

}  // namespace
