#include <gtest/gtest.h>

#include <QTest>

#include <array>
#include <limits>

#include "ControlTestSupport.h"
#include "components/controls/ChildLabel.h"
#include "components/controls/QorLabel.h"
#include "components/controls/Resizer.h"
#include "components/data/TestItem.h"
#include "platform/Resource.h"

using namespace vzt;
using namespace vzt::test;

namespace {

// A live label on a packet item whose user value the test sets directly.
class LiveLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    packet.SetTransformationType(ttCustom);
    packet.OnConvertToUser = [this](Component*, int, double& out) { out = value; };
    label = new TQorLabel(nullptr, &window);
    label->SetName("QorLabelGiri");
    label->SetBounds(300, 20, 80, 20);
    label->SetNumber(&packet);
    window.ShowActive();
  }
  void Arrive(double v) {
    value = v;
    packet.NotifyData(MSG_DATA_CHANGED, AsWParam(&packet), 0);
  }
  QColor FontColor() const { return label->palette().color(QPalette::WindowText); }

  TQorPacketData packet;
  double value = 0;
  TestWindow window;
  TQorLabel* label = nullptr;
};

struct FormatCase {
  char separator;
  const char* format;
  double value;
  const char* shown;
};

class LiveLabelFormatTest : public LiveLabelTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(LiveLabelFormatTest, ShowsTheValueByItsPattern) {
  const FormatCase& c = GetParam();
  SeparatorGuard guard(c.separator);
  label->SetDataFormat(QString::fromUtf8(c.format));
  Arrive(c.value);
  EXPECT_EQ(label->text().toStdString(), c.shown);
  EXPECT_EQ(label->ShownValue(), c.value);
}

INSTANTIATE_TEST_SUITE_P(Patterns, LiveLabelFormatTest, ::testing::Values(
    FormatCase{',', "0.00 V", 2.5, "2,50 V"},
    FormatCase{'.', "0.00 V", 2.5, "2.50 V"},
    FormatCase{',', "0.00 V", 1.234, "1,23 V"},
    FormatCase{',', "", 2.5, "2,5"},
    FormatCase{'.', "", 2.5, "2.5"},
    FormatCase{',', "###0 RPM", 0, "0 RPM"},
    FormatCase{',', "###0 RPM", 2490, "2490 RPM"},
    FormatCase{',', "##0 \xC2\xB0" "C", 87.6, "88 \xC2\xB0" "C"}));

TEST_F(LiveLabelTest, APacketFromTheRefresherReachesTheLabel) {
  SeparatorGuard guard(',');
  TQorPacketData tps(nullptr, 0);
  tps.SetOffset(3);
  tps.SetTransformationType(ttFormula);
  tps.SetCoeffsList({5.0 / 255, 0, 0, 1});
  label->SetNumber(&tps);
  label->SetDataFormat(QStringLiteral("0.00 V"));
  std::array<unsigned char, 256> buffer{};
  buffer[4 + 3] = 128;
  tps.UpdateData(buffer.data());
  EXPECT_EQ(label->text(), QStringLiteral("2,51 V"));
}

TEST_F(LiveLabelTest, FlagStylesShowOneOfTwoTextsInOneOfTwoColours) {
  label->SetLabelStyle(lsFlag);
  label->SetStatusColor(1, Qt::yellow);
  label->SetStatusColor(2, Qt::cyan);
  struct Case {
    double value;
    bool on;
  };
  for (Case c : {Case{0.4, false}, Case{0.5, true}, Case{-0.6, false}, Case{-1.5, true},
                 Case{1e12, true}, Case{std::numeric_limits<double>::quiet_NaN(), false}}) {
    SCOPED_TRACE(c.value);
    Arrive(c.value);
    EXPECT_EQ(label->State(), c.on);
    EXPECT_EQ(label->text(), c.on ? QStringLiteral("ON") : QStringLiteral("OFF"));
    EXPECT_EQ(FontColor(), c.on ? QColor(Qt::yellow) : QColor(Qt::cyan));
  }
}

TEST_F(LiveLabelTest, SettersTakeEffectAtOnce) {
  label->SetLabelStyle(lsLabeledFlag);
  label->SetStatusText(2, QStringLiteral("spento"));
  EXPECT_EQ(label->text(), QStringLiteral("spento"));
  label->SetStatusText(1, QStringLiteral("acceso"));
  label->SetState(true);
  EXPECT_EQ(label->text(), QStringLiteral("acceso"));
  label->SetStatusColor(1, Qt::red);
  EXPECT_EQ(FontColor(), QColor(Qt::red));
  label->SetLabelStyle(lsValue);
  EXPECT_EQ(label->text(), QStringLiteral("0"));
}

TEST_F(LiveLabelTest, AStyleWithoutCaptionDestroysItAndALabeledOneMakesANewOne) {
  TChildLabel* first = label->ChildLabel();
  ASSERT_NE(first, nullptr);
  first->SetCaption(QStringLiteral("Giri"));
  first->SetLabelSpacing(120);
  label->SetLabelStyle(lsValue);
  EXPECT_EQ(label->ChildLabel(), nullptr);
  label->SetLabelStyle(lsFlag);
  EXPECT_EQ(label->ChildLabel(), nullptr);

  label->SetLabelStyle(lsLabeledValue);
  TChildLabel* fresh = label->ChildLabel();
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->LabelPosition(), lpLeft);
  EXPECT_EQ(fresh->LabelSpacing(), 80);
  EXPECT_EQ(fresh->Caption(), QStringLiteral("QorLabelGiri"));
  EXPECT_EQ(fresh->parentWidget(), &window);
  EXPECT_TRUE(fresh->isVisible());
  EXPECT_EQ(fresh->x(), 300 - 80);
  EXPECT_EQ(fresh->FocusControl(), nullptr);
  label->SetLabelStyle(lsLabeledFlag);
  EXPECT_EQ(label->ChildLabel(), fresh);
}

TEST_F(LiveLabelTest, OnlyPacketAndTableItemsAreTaken) {
  TQorNumber number;
  label->SetNumber(&number);
  EXPECT_EQ(label->Value(), &packet);
  TestItem table(nullptr, sdVector);
  label->SetNumber(&table);
  EXPECT_EQ(label->Value(), &table);
  EXPECT_EQ(label->text(), QStringLiteral("0"));  // binding alone shows nothing new
  table.NotifyData(MSG_DATA_CHANGED, AsWParam(&table), 0);
  EXPECT_EQ(label->text(), QStringLiteral("n.d."));
  EXPECT_TRUE(packet.NotificationList().empty());
  label->SetNumber(nullptr);
  EXPECT_EQ(label->Value(), nullptr);
}

TEST_F(LiveLabelTest, KeepsTheLastValueAndForgetsAnItemThatGoes) {
  Arrive(12);
  auto* item = new TQorPacketData;
  label->SetNumber(item);
  delete item;
  EXPECT_EQ(label->Value(), nullptr);
  EXPECT_EQ(label->text(), QStringLiteral("12"));
}

TEST_F(LiveLabelTest, HidingTheLabelHidesItsCaption) {
  label->hide();
  EXPECT_FALSE(label->ChildLabel()->isVisible());
  label->show();
  EXPECT_TRUE(label->ChildLabel()->isVisible());
}

TEST_F(LiveLabelTest, ARightAlignedLabelKeepsItsRightEdgeAsTheTextGrows) {
  label->SetTextAlignment(taRightJustify);
  Arrive(1);
  const int right = label->x() + label->width();
  Arrive(123456.75);
  EXPECT_EQ(label->x() + label->width(), right);
  EXPECT_EQ(label->ChildLabel()->x(), label->x() - 80);
}

TEST(LiveLabelConstructionTest, StartsAsALabeledValueShowingZero) {
  TQorLabel label;
  EXPECT_EQ(label.text(), QStringLiteral("0"));
  EXPECT_EQ(label.Style(), lsLabeledValue);
  EXPECT_EQ(label.OnText(), QStringLiteral("ON"));
  EXPECT_EQ(label.OffText(), QStringLiteral("OFF"));
  EXPECT_EQ(label.TableText(), QStringLiteral("n.d."));
  EXPECT_EQ(label.OnColor(), label.palette().color(QPalette::WindowText));
  EXPECT_FALSE(label.State());
  EXPECT_TRUE(label.DataFormat().isEmpty());
  ASSERT_NE(label.ChildLabel(), nullptr);
  ASSERT_NE(label.Resizer(), nullptr);
  EXPECT_EQ(label.Resizer()->Control(), &label);
}

TEST(LiveLabelResourceTest, ThePanelsPropertiesAreSetByName) {
  SeparatorGuard guard(',');
  Component root;
  constexpr long long kWindowText = static_cast<long long>(0xFF000008u);
  const std::vector<ComponentRow> rows = {
      {"ValoreTemperatura", Create<TQorPacketData>, {}},
      {"QorLabelTemperatura", Create<TQorLabel>,
       {{"Value", ComponentRef{"ValoreTemperatura"}},
        {"ChildLabel.Caption", std::u16string(u"Temperatura")},
        {"ChildLabel.LabelSpacing", 200LL},
        {"DataFormat", std::u16string(u"##0 \u00B0C")},
        {"OnText", std::string("ON")},
        {"OffText", std::string("OFF")},
        {"OnColor", kWindowText},
        {"OffColor", 0x0000FFFFLL},
        {"Alignment", static_cast<long long>(taRightJustify)},
        {"Resizer.GridDimension", 10LL}}},
  };
  EXPECT_TRUE(LoadResource(root, rows).empty());
  auto* label = dynamic_cast<TQorLabel*>(root.FindComponent("QorLabelTemperatura"));
  auto* item = dynamic_cast<TQorPacketData*>(root.FindComponent("ValoreTemperatura"));
  ASSERT_TRUE(label && item);
  EXPECT_EQ(label->Value(), item);
  EXPECT_EQ(label->ChildLabel()->Caption(), QStringLiteral("Temperatura"));
  EXPECT_EQ(label->OnColor(), label->palette().color(QPalette::WindowText));
  EXPECT_EQ(label->OffColor(), QColor(255, 255, 0));  // the toolkit's 0x00BBGGRR
  EXPECT_EQ(label->TextAlignment(), taRightJustify);
  item->InitData(87);
  EXPECT_EQ(label->text(), QString::fromUtf8("87 \xC2\xB0" "C"));

  EXPECT_FALSE(label->SetProperty("Style", 4LL));
  EXPECT_FALSE(label->SetProperty("OnColor", std::string("no such colour")));
  EXPECT_FALSE(label->SetProperty("OnColor", 0x7F000000LL));
  EXPECT_TRUE(label->SetProperty("OffColor", std::string("navy")));
  EXPECT_EQ(label->OffColor(), QColor(0, 0, 128));
}

}  // namespace
