#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include "TestItem.h"
#include "components/data/SerialData.h"
#include "components/data/Transformations.h"

using namespace vzt;
using vzt::test::RecordingListener;
using vzt::test::TestItem;

namespace {

// The coolant temperature table: ratio q falling with the temperature.
const std::vector<double> kTemperatureQ = {
    97.578, 67.65,  47.538, 33.831, 24.359, 17.753, 13.067,  9.7228, 7.3007,  5.5361,
    4.2332, 3.266,  2.5392, 1.9902, 1.5709, 1.2492, 1.0,     0.805,  0.65326, 0.5329,
    0.4371, 0.36,   0.299,  0.2493, 0.2088, 0.1757, 0.148,   0.1262, 0.1076,  0.09215,
    0.07922, 0.0683, 0.05924, 0.05153, 0.04492, 0.0392, 0.0343, 0.03018, 0.02665, 0.023594,
    0.0209, 0.0186, 0.0166, 0.01486, 0.01332, 0.01198, 0.01079, 0.00974};

std::vector<double> TemperatureC() {
  std::vector<double> c;
  for (int t = -55; t <= 180; t += 5) c.push_back(t);
  return c;
}

struct ItemSetup {
  TransformationType type = ttNone;
  std::vector<double> coeffs = {1, 0, 0, 1};
  double precision = 0;
  int mask = 0xFF;
  std::vector<double> ecu, user;
  double min = 0, max = 0;
  bool disableLimits = false;
  bool isSigned = false;
  int length = 1;
};

void Apply(TestItem& item, const ItemSetup& s) {
  item.SetDataLength(s.length);
  item.SetDataMask(s.mask);
  item.SetDataSigned(s.isSigned);
  item.SetTransformationType(s.type);
  ASSERT_TRUE(item.SetCoeffsList(s.coeffs));
  item.SetPrecision(s.precision);
  item.SetMaxValue(s.max);
  item.SetMinValue(s.min);
  item.DisableLimits = s.disableLimits;
  if (!s.ecu.empty())
    item.SetConversionTable(s.ecu.data(), s.user.data(), static_cast<int>(s.ecu.size()));
}

ItemSetup Formula(std::vector<double> coeffs, double precision) {
  ItemSetup s;
  s.type = ttFormula;
  s.coeffs = std::move(coeffs);
  s.precision = precision;
  return s;
}

ItemSetup Tabled(std::vector<double> ecu, std::vector<double> user) {
  ItemSetup s;
  s.type = ttTabled;
  s.ecu = std::move(ecu);
  s.user = std::move(user);
  return s;
}

ItemSetup Temperature() {
  ItemSetup s;
  s.type = ttNonLinearTabled;
  s.coeffs = {5, 0, -5, 1275};
  s.precision = 1;
  s.ecu = kTemperatureQ;
  s.user = TemperatureC();
  return s;
}

ItemSetup Limited(double min, double max, bool disable = false) {
  ItemSetup s;
  s.min = min;
  s.max = max;
  s.disableLimits = disable;
  return s;
}

// ------------------------------------------------------------ raw to user

struct ToUserCase {
  const char* name;
  ItemSetup setup;
  int raw;
  double user;
};

void PrintTo(const ToUserCase& c, std::ostream* os) { *os << c.name; }

class ToUserTest : public ::testing::TestWithParam<ToUserCase> {};

TEST_P(ToUserTest, Converts) {
  const ToUserCase& c = GetParam();
  TestItem item;
  Apply(item, c.setup);
  EXPECT_DOUBLE_EQ(item.ConvertValueToUser(c.raw), c.user);
}

ItemSetup Masked(int mask, std::vector<double> coeffs) {
  ItemSetup s = Formula(std::move(coeffs), 0);
  s.mask = mask;
  return s;
}

ItemSetup SignedItem(int length) {
  ItemSetup s;
  s.isSigned = true;
  s.length = length;
  s.mask = length == 2 ? 0xFFFF : 0xFF;
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToUserTest,
    ::testing::Values(
        ToUserCase{"LambdaVoltage", Formula({4, -4, 0, 1000}, 0.01), 101, 0.4},
        ToUserCase{"EngineSpeed", Formula({0, 117000, 1, 0}, 10), 39, 3000},
        ToUserCase{"EngineSpeedStanding", Formula({0, 117000, 1, 0}, 10), 0, kZeroDenominator},
        ToUserCase{"BitFieldThroughCoefficients", Masked(0x18, {1, 0, 0, 8}), 0x1B, 3},
        ToUserCase{"TableFirstEntry", Tabled({5, 133}, {0, 1}), 5, 0},
        ToUserCase{"TableSecondEntry", Tabled({5, 133}, {0, 1}), 133, 1},
        ToUserCase{"TableNoMatch", Tabled({5, 133}, {0, 1}), 7, kNotInTable},
        ToUserCase{"TableLastDuplicateWins", Tabled({5, 5}, {1, 2}), 5, 2},
        ToUserCase{"NoTable", Tabled({}, {}), 5, kNotInTable},
        ToUserCase{"TemperatureRoom", Temperature(), 128, 25},
        ToUserCase{"TemperatureExtrapolatedHot", Temperature(), 0, 226},
        ToUserCase{"TemperatureZeroDenominator", Temperature(), 255, kZeroDenominator},
        ToUserCase{"LimitsDoNotClipShownValues", Limited(0, 240), 250, 250},
        ToUserCase{"SignedByte", SignedItem(1), 0xFE, -2},
        ToUserCase{"SignedWord", SignedItem(2), 0xFFFE, -2},
        ToUserCase{"UnsignedMaskDropsHighBits", ItemSetup{}, 0x1FE, 0xFE}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------ user to raw (no masking)

struct ToEcuCase {
  const char* name;
  ItemSetup setup;
  double user;
  int raw;
};

void PrintTo(const ToEcuCase& c, std::ostream* os) { *os << c.name; }

class ToEcuTest : public ::testing::TestWithParam<ToEcuCase> {};

TEST_P(ToEcuTest, Converts) {
  const ToEcuCase& c = GetParam();
  TestItem item;
  Apply(item, c.setup);
  EXPECT_EQ(item.ConvertValueToEcu(c.user, nullptr), c.raw);
}

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();

INSTANTIATE_TEST_SUITE_P(
    Cases, ToEcuTest,
    ::testing::Values(
        ToEcuCase{"LambdaVoltage", Formula({4, -4, 0, 1000}, 0.01), 0.4, 101},
        ToEcuCase{"EngineSpeed", Formula({0, 117000, 1, 0}, 10), 3000, 39},
        ToEcuCase{"FormulaZeroDenominator", Formula({2, 0, 1, 0}, 0), 2, kZeroDenominator},
        ToEcuCase{"TruncatesTowardZero", ItemSetup{}, 2.7, 2},
        ToEcuCase{"TruncatesNegativeTowardZero", ItemSetup{}, -2.7, -2},
        ToEcuCase{"ClipsToMax", Limited(0, 240), 300, 240},
        ToEcuCase{"ClipsToMin", Limited(10, 240), 3, 10},
        ToEcuCase{"NoLimitsWhenBothZero", Limited(0, 0), 300, 300},
        ToEcuCase{"DisabledLimits", Limited(0, 240, true), 300, 300},
        ToEcuCase{"TableExactMatch", Tabled({5, 133}, {0, 1}), 1, 133},
        ToEcuCase{"TableNoMatch", Tabled({5, 133}, {0, 1}), 0.5, kNotInTable},
        ToEcuCase{"TableFirstDuplicateWins", Tabled({3, 4}, {1, 1}), 1, 3},
        ToEcuCase{"TemperatureRoom", Temperature(), 25, 128},
        ToEcuCase{"SaturatesAboveIntRange", ItemSetup{}, 1e12, kIntMax},
        ToEcuCase{"SaturatesBelowIntRange", ItemSetup{}, -1e12, kIntMin},
        ToEcuCase{"FormulaSaturates", Formula({-1, 0, 0, -1e6}, 0), 1e6, kIntMax},
        ToEcuCase{"FormulaRoundsHalfAwayFromZero", Formula({1, 0, 0, 1}, 0), -2.5, -3}),
    [](const auto& info) { return std::string(info.param.name); });

// ------------------------------------------------------------ precision rounding

struct PrecisionCase {
  double precision, value, rounded;
};

void PrintTo(const PrecisionCase& c, std::ostream* os) { *os << c.value << " step " << c.precision; }

class PrecisionTest : public ::testing::TestWithParam<PrecisionCase> {};

TEST_P(PrecisionTest, RoundsToNearestMultipleTiesUp) {
  TestItem item;
  item.SetTransformationType(ttCustom);
  const double value = GetParam().value;
  item.OnConvertToUser = [value](Component*, int, double& out) { out = value; };
  item.SetPrecision(GetParam().precision);
  EXPECT_DOUBLE_EQ(item.ConvertValueToUser(0), GetParam().rounded);
}

INSTANTIATE_TEST_SUITE_P(Cases, PrecisionTest,
                         ::testing::Values(PrecisionCase{0.25, 0.125, 0.25},
                                           PrecisionCase{0.25, -0.125, 0},
                                           PrecisionCase{0.25, 0.1, 0},
                                           PrecisionCase{10, 2994, 2990},
                                           PrecisionCase{10, 2995, 3000},
                                           PrecisionCase{0, 1.23456, 1.23456}));

TEST(Precision, NegativeStepIsIgnored) {
  TestItem item;
  item.SetPrecision(0.5);
  item.SetPrecision(-1);
  EXPECT_EQ(item.Precision(), 0.5);
}

// ------------------------------------------------------------ malformed tables

TEST(Conversion, UnusableInterpolationSegmentsGiveNotInTable) {
  struct Case {
    const char* name;
    std::vector<double> ecu, user;
    bool ecuColumnUsable, userColumnUsable;
  };
  const Case cases[] = {{"one entry", {1.0}, {10.0}, false, false},
                        {"equal user ends", {1, 2}, {10, 10}, true, false},
                        {"equal ECU ends", {1, 1}, {10, 20}, false, true}};
  for (const Case& c : cases) {
    TestItem item;
    ItemSetup s;
    s.type = ttNonLinearTabled;
    s.ecu = c.ecu;
    s.user = c.user;
    Apply(item, s);
    // Only the column searched in each direction matters.
    EXPECT_EQ(item.ConvertValueToUser(1) == kNotInTable, !c.ecuColumnUsable) << c.name;
    EXPECT_EQ(item.ConvertValueToEcu(10, nullptr) == kNotInTable, !c.userColumnUsable) << c.name;
  }
}

TEST(Conversion, ErrorResultsAreNeitherLimitedNorMasked) {
  TestItem item;
  Apply(item, Tabled({5, 133}, {0, 1}));
  item.SetMaxValue(240);
  item.SetDataMask(0x18);
  item.SetTransformationType(ttTabled);
  EXPECT_EQ(item.ConvertValueToEcu(0.5, &item.raw), kNotInTable);
  EXPECT_EQ(item.reloads, 0);
}

// ------------------------------------------------------------ custom and unknown kinds

TEST(Conversion, CustomEventsDecideBothWays) {
  TestItem item;
  item.SetTransformationType(ttCustom);
  EXPECT_EQ(item.ConvertValueToEcu(5, nullptr), 0);  // unassigned: the result stays 0
  EXPECT_EQ(item.ConvertValueToUser(5), 0.0);
  item.OnConvertToEcu = [](Component*, double u, int& r) { r = static_cast<int>(u * 3); };
  item.OnConvertToUser = [](Component*, int r, double& u) { u = r / 2.0; };
  EXPECT_EQ(item.ConvertValueToEcu(5, nullptr), 15);
  EXPECT_EQ(item.ConvertValueToUser(5), 2.5);
}

TEST(Conversion, UnknownTransformationGivesZero) {
  TestItem item;
  item.SetTransformationType(static_cast<TransformationType>(9));
  EXPECT_EQ(item.ConvertValueToEcu(5, nullptr), 0);
  EXPECT_EQ(item.ConvertValueToUser(5), 0.0);
}

// ------------------------------------------------------------ masking

class MaskingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Apply(item, Masked(0x18, {1, 0, 0, 8}));
    item.AddNotificationList(&listener);
    item.controller_byte = 0xA5;  // 1010 0101: bits 3-4 are 00
  }
  TestItem item;
  RecordingListener listener;
};

TEST_F(MaskingTest, MergesIntoFreshlyReadByteWithoutTellingListeners) {
  item.raw = 0;
  EXPECT_EQ(item.ConvertValueToEcu(2, &item.raw), (0xA5 & ~0x18) | 0x10);
  EXPECT_EQ(item.reloads, 1);
  EXPECT_TRUE(listener.received.empty());
  EXPECT_TRUE(item.NotifyEnabled());
}

TEST_F(MaskingTest, FailedReReadKeepsOnlyOwnBits) {
  item.reload_succeeds = false;
  item.raw = 0xFF;
  EXPECT_EQ(item.ConvertValueToEcu(2, &item.raw), 0x10);
  EXPECT_TRUE(item.NotifyEnabled());
}

TEST_F(MaskingTest, NoMergeWithoutCurrentOrWithFullMask) {
  EXPECT_EQ(item.ConvertValueToEcu(2, nullptr), 16);
  item.SetDataMask(0xFF);
  item.SetCoeffsList({1, 0, 0, 1});
  EXPECT_EQ(item.ConvertValueToEcu(200, &item.raw), 200);
  EXPECT_EQ(item.reloads, 0);
}

// ------------------------------------------------------------ external coefficients

TEST(ExternalCoefficients, ReplaceOwnCoefficientsThroughTheirTransformation) {
  TestItem item, coefficient;
  coefficient.raw = 4;
  Apply(item, Formula({1, 0, 0, 1}, 0));
  item.SetExtCoeff(1, &coefficient);
  EXPECT_EQ(item.ConvertValueToUser(10), 40);

  TLinearTransformation doubling;
  doubling.CoeffA = 2;
  item.SetTransformation(1, &doubling);
  EXPECT_EQ(item.ConvertValueToUser(10), 80);

  // A failing transformation leaves the coefficient untransformed.
  doubling.CoeffD = 0;
  EXPECT_EQ(item.ConvertValueToUser(10), 40);
}

TEST(ExternalCoefficients, TransformationWithoutCoefficientHasNoEffect) {
  TestItem item;
  Apply(item, Formula({3, 0, 0, 1}, 0));
  TLinearTransformation doubling;
  doubling.CoeffA = 2;
  item.SetTransformation(1, &doubling);
  EXPECT_EQ(item.reloads, 1);  // setting a transformation forces a re-read
  EXPECT_EQ(item.ConvertValueToUser(10), 30);
}

TEST(ExternalCoefficients, OnlyOtherNumbersAreTaken) {
  TestItem item, packet(nullptr, sdPacket), number;
  item.SetExtCoeff(2, &item);
  item.SetExtCoeff(2, &packet);
  EXPECT_EQ(item.GetExtCoeff(2), nullptr);
  item.SetExtCoeff(2, &number);
  EXPECT_EQ(item.GetExtCoeff(2), &number);
  EXPECT_EQ(number.NotificationList(), std::vector<Component*>{&item});
  item.SetExtCoeff(2, nullptr);
  EXPECT_TRUE(number.NotificationList().empty());
  item.SetExtCoeff(5, &number);
  EXPECT_TRUE(number.NotificationList().empty());
}

TEST(ExternalCoefficients, DestroyedReferencesAreCleared) {
  TestItem item;
  {
    TestItem number;
    TLinearTransformation t;
    item.SetExtCoeff(3, &number);
    item.SetTransformation(3, &t);
  }
  EXPECT_EQ(item.GetExtCoeff(3), nullptr);
  EXPECT_EQ(item.GetTransformation(3), nullptr);
  {
    auto number = std::make_unique<TestItem>();
    auto dependent = std::make_unique<TestItem>();
    dependent->SetExtCoeff(1, number.get());
    dependent.reset();  // must leave the coefficient's list
    EXPECT_TRUE(number->NotificationList().empty());
  }
}

// ------------------------------------------------------------ linear transformation

TEST(LinearTransformation, TransformAndInverse) {
  TLinearTransformation t;
  t.SetCoeffs({4, -4, 0, 1000});
  double r = -1;
  ASSERT_EQ(t.Transform(101, &r), 0);
  EXPECT_DOUBLE_EQ(r, 0.4);
  ASSERT_EQ(t.AntiTransform(0.4, &r), 0);
  EXPECT_DOUBLE_EQ(r, 101);

  t.SetCoeffs({0, 117000, 1, 0});
  r = -1;
  EXPECT_NE(t.Transform(0, &r), 0);
  EXPECT_EQ(r, -1);
  t.SetCoeffs({2, 0, 1, 0});
  EXPECT_NE(t.AntiTransform(2, &r), 0);
  EXPECT_EQ(r, -1);
}

TEST(LinearTransformation, CoeffsListNeedsFourValues) {
  TLinearTransformation t;
  EXPECT_FALSE(t.SetProperty("Coeffs", PropertyList{1, 2, 3}));
  EXPECT_TRUE(t.SetProperty("Coeffs", PropertyList{1, 2, 3, 4}));
  EXPECT_EQ(t.Coeffs(), (PropertyList{1, 2, 3, 4}));
  EXPECT_TRUE(IsQorTransformation(&t));
  TestItem item;
  EXPECT_FALSE(IsQorTransformation(&item));
  EXPECT_FALSE(IsQorTransformation(nullptr));
}

}  // namespace
