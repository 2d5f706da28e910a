#include <gtest/gtest.h>

#include "TestItem.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "fixtures/FakeIni.h"
#include "fixtures/FakeLink.h"
#include "platform/NumberText.h"
#include "platform/Resource.h"

using namespace vzt;
using vzt::test::FakeIni;
using vzt::test::FakeLink;
using vzt::test::Received;
using vzt::test::RecordingListener;

namespace {

struct ErrorReport {
  int code;
  bool writing;
  bool operator==(const ErrorReport&) const = default;
};

// An item at an address, with a listener and its error and data events recorded.
class NumberTest : public ::testing::Test {
 protected:
  void SetUp() override {
    item.ByAddress = true;
    item.Address = 163;
    item.AddNotificationList(&listener);
    item.OnError = [this](Component*, int code, bool writing) { errors.push_back({code, writing}); };
    item.OnGetData = [this](Component*) { ++gets; };
    item.OnSetData = [this](Component*) { ++sets; };
  }

  void Online(bool open = true) {
    link.open = open;
    conn.AttachLink(&link);
    item.SetConnection(&conn);
  }

  void LambdaFormula() {
    item.SetTransformationType(ttFormula);
    item.SetCoeffsList({4, -4, 0, 1000});
    item.SetPrecision(0.01);
  }

  FakeLink link;
  TQorConnection conn;
  TQorNumber item;
  RecordingListener listener;
  std::vector<ErrorReport> errors;
  int gets = 0, sets = 0;
};

TEST_F(NumberTest, WithoutALibraryWritesStayLocalAndReportMinusOne) {
  LambdaFormula();
  conn.SetDllName("NoSuchLibrary.dll");
  item.SetConnection(&conn);
  EXPECT_TRUE(item.SetData(0.4));
  EXPECT_EQ(item.RawValue(), 101);
  EXPECT_EQ(errors, (std::vector<ErrorReport>{{-1, true}}));
  EXPECT_TRUE(listener.received.empty());
  EXPECT_DOUBLE_EQ(item.GetDouble(), 0.4);  // the read keeps the local value
  EXPECT_EQ(gets, 0);
}

TEST_F(NumberTest, LinkClosedReadKeepsTheValueAndSucceeds) {
  Online(false);
  item.InitData(std::array<int, 1>{42}.data());
  EXPECT_TRUE(item.Load());
  EXPECT_EQ(item.RawValue(), 42);
  EXPECT_EQ(gets, 1);
  EXPECT_EQ(listener.received, (std::vector<Received>{{MSG_DATA_CHANGED, AsWParam(&item), 0}}));
  EXPECT_EQ(link.Count("ReadByAddress"), 0);
}

TEST_F(NumberTest, ReadsByAddressOnceUntilSomethingInvalidatesIt) {
  Online();
  link.memory[163] = 77;
  EXPECT_EQ(item.GetInt(), 77);
  EXPECT_EQ(item.GetInt(), 77);
  EXPECT_EQ(link.Count("ReadByAddress 0 163"), 1);
  EXPECT_TRUE(item.Load());
  EXPECT_EQ(link.Count("ReadByAddress 0 163"), 2);
}

TEST_F(NumberTest, FailedReadRestoresTheValueAndTellsNoControl) {
  Online();
  link.memory[163] = 9;
  item.Load();
  listener.received.clear();
  link.fail_reads = true;
  link.status = 0x10;
  double v = -1;
  EXPECT_FALSE(item.Load());
  EXPECT_FALSE(item.GetData(&v));
  EXPECT_EQ(v, 9);
  EXPECT_EQ(errors.back(), (ErrorReport{0x10, false}));
  // Only the status word reaches the controls, as MSG_COM_ERROR.
  for (const Received& r : listener.received) EXPECT_EQ(r.msg, MSG_COM_ERROR);
}

TEST_F(NumberTest, UndefinedDataTurnsAFailedReadIntoSuccess) {
  Online();
  link.defined[163] = false;
  EXPECT_TRUE(item.Load());
  EXPECT_EQ(errors, (std::vector<ErrorReport>{{LINK_STATUS_NOT_DEFINED, false}}));
  EXPECT_EQ(listener.received.back(),
            (Received{MSG_COM_ERROR, AsWParam(&item), LINK_STATUS_NOT_DEFINED}));
  EXPECT_TRUE(item.IsValid());
}

TEST_F(NumberTest, WriteSuccessAndFailure) {
  Online();
  EXPECT_TRUE(item.SetData(55));
  EXPECT_EQ(link.memory[163], 55);
  EXPECT_EQ(sets, 1);
  EXPECT_EQ(listener.received.size(), 1u);

  link.fail_writes = true;
  link.status = 0x20;
  EXPECT_FALSE(item.SetData(66));
  EXPECT_EQ(item.RawValue(), 55);
  EXPECT_EQ(errors, (std::vector<ErrorReport>{{0x20, true}}));
  EXPECT_EQ(listener.received.size(), 1u);
}

TEST_F(NumberTest, WritesAreAttemptedEvenWithTheLinkClosed) {
  Online(false);
  EXPECT_TRUE(item.SetData(5));
  EXPECT_EQ(link.Count("WriteByAddress 0 163 5"), 1);
}

TEST_F(NumberTest, ReadOnlyItemsRefuseWrites) {
  Online();
  item.ReadOnly = true;
  EXPECT_FALSE(item.SetData(5));
  EXPECT_EQ(listener.received.size(), 1u);
  EXPECT_FALSE(item.SetEcuData(5));
  EXPECT_EQ(listener.received.size(), 1u);
  EXPECT_EQ(link.Count("Write"), 0);
}

TEST_F(NumberTest, TransferKindFollowsAddressAndIndexes) {
  Online();
  struct Case {
    bool byAddress;
    TNumberType type;
    const char* read;
    const char* write;
  };
  const Case cases[] = {
      {true, ntSingle, "ReadByAddress 0 163", "WriteByAddress 0 163 7"},
      {false, ntSingle, "ReadValue 0", "WriteValue 0 7"},
      {false, ntVectorElement, "ReadElement 0 0", "WriteElement 0 0 7"},
      {false, ntMatrixElement, "ReadMatrixElement 0 0 0", "WriteMatrixElement 0 0 0 7"},
  };
  for (const Case& c : cases) {
    item.ByAddress = c.byAddress;
    item.SetNumberType(c.type);
    link.calls.clear();
    item.Load();
    item.SetEcuData(7);
    EXPECT_EQ(link.calls, (std::vector<std::string>{c.read, c.write}));
  }
}

TEST(NumberShared, ItemsSharingAByteChangeOnlyTheirOwnBits) {
  FakeLink link;
  link.open = true;
  TQorConnection conn;
  conn.AttachLink(&link);
  TQorNumber low, mid;
  for (TQorNumber* n : {&low, &mid}) {
    n->ByAddress = true;
    n->Address = 163;
    n->SetConnection(&conn);
    n->SetTransformationType(ttFormula);
  }
  low.SetDataMask(0x07);
  mid.SetDataMask(0x18);
  mid.SetCoeffsList({1, 0, 0, 8});
  link.memory[163] = 0xE5;  // 111 00 101
  EXPECT_TRUE(low.SetData(2));
  EXPECT_EQ(link.memory[163], 0xE2);
  EXPECT_TRUE(mid.SetData(3));
  EXPECT_EQ(link.memory[163], 0xFA);
  EXPECT_EQ(low.GetInt(), 2);
  EXPECT_EQ(mid.GetInt(), 3);
  // Raw writes merge the same way.
  EXPECT_TRUE(low.SetEcuData(0xFF));
  EXPECT_EQ(link.memory[163], 0xFF);
  link.fail_reads = true;
  EXPECT_FALSE(mid.SetEcuData(0));  // no merge without a fresh byte
  EXPECT_EQ(link.memory[163], 0xFF);
}

TEST_F(NumberTest, ResetDefaultConvertsAndOptionallyWrites) {
  Online();
  LambdaFormula();
  item.DefaultValue = 0.4;
  EXPECT_TRUE(item.ResetDefault(false));
  EXPECT_EQ(item.RawValue(), 101);
  EXPECT_EQ(link.Count("Write"), 0);
  EXPECT_EQ(listener.received.size(), 1u);
  EXPECT_TRUE(item.ResetDefault(true));
  EXPECT_EQ(link.memory[163], 101);
  link.fail_writes = true;
  listener.received.clear();
  EXPECT_FALSE(item.ResetDefault(true));
  EXPECT_EQ(item.RawValue(), 101);  // keeps the default locally
  EXPECT_TRUE(listener.received.empty());
}

TEST_F(NumberTest, ChangingTheMaskAtRunTimeForgetsTheDefault) {
  item.DefaultValue = 5;
  item.SetDataMask(0x0F);
  EXPECT_EQ(item.DefaultValue, 0);
}

TEST(Number, GetIntRoundsHalfUpTruncatingTowardZero) {
  const std::pair<double, int> cases[] = {{2.5, 3}, {-2.7, -2}, {2.49, 2}, {-0.5, 0}};
  for (auto [user, expected] : cases) {
    TQorNumber item;
    item.SetTransformationType(ttCustom);
    item.OnConvertToUser = [user](Component*, int, double& u) { u = user; };
    EXPECT_EQ(item.GetInt(), expected) << user;
  }
}

TEST(Number, IndexSettersFollowTheNumberType) {
  TQorNumber item;
  item.SetIndexRow(3);  // single: ignored
  EXPECT_EQ(item.RowIndex(), -1);
  item.SetNumberType(ntVectorElement);
  item.SetIndexRow(3);
  item.SetIndexCol(2);  // vector: ignored
  EXPECT_EQ(item.RowIndex(), 3);
  EXPECT_EQ(item.ColIndex(), -1);
  item.SetNumberType(ntMatrixElement);
  item.SetIndexCol(5);
  EXPECT_EQ(item.GetNumberType(), ntMatrixElement);
  item.FileKeyName = "K";
  EXPECT_EQ(item.FileKey(), "K3_5");
  item.SetNumberType(ntVectorElement);
  EXPECT_EQ(item.FileKey(), "K3");
  item.SetNumberType(ntSingle);
  EXPECT_EQ(item.FileKey(), "K");
  TQorNumber element(nullptr, 300, 2, -1);
  EXPECT_EQ(element.SerialCode(), 44);
  EXPECT_EQ(element.GetNumberType(), ntVectorElement);
}

TEST(Number, UpdateDataTakesTheBufferStart) {
  TQorNumber item;
  item.SetDataLength(2);
  item.SetDataSigned(true);
  const unsigned char buffer[] = {0xFE, 0xFF, 0x55};
  item.UpdateData(buffer);
  EXPECT_EQ(item.RawValue(), -2);
}

// ------------------------------------------------------------ files

class NumberFileTest : public NumberTest {
 protected:
  void SetUp() override {
    NumberTest::SetUp();
    SetDecimalSeparator('.');
    item.FileSection = "CONFIGURAZIONE";
    item.FileKeyName = "Lambda";
  }
  void TearDown() override { SetDecimalSeparator('\0'); }
  FakeIni ini;
};

TEST_F(NumberFileTest, WritesTheUserValueOrTheRawValue) {
  LambdaFormula();
  item.InitData(std::array<int, 1>{101}.data());
  EXPECT_TRUE(item.WriteToFile(&ini));
  EXPECT_EQ(ini.ReadString("CONFIGURAZIONE", "Lambda", ""), "0.4");
  item.StoreUserValue = false;
  EXPECT_TRUE(item.WriteToFile(&ini));
  EXPECT_EQ(ini.ReadString("CONFIGURAZIONE", "Lambda", ""), "101");
}

TEST_F(NumberFileTest, FileNamesDecideWhetherTheItemIsPersisted) {
  struct Case {
    const char* section;
    const char* key;
    bool ok;
  };
  for (const Case& c : {Case{"", "", true}, Case{"", "Lambda", false}, Case{"S", "", false}}) {
    item.FileSection = c.section;
    item.FileKeyName = c.key;
    EXPECT_EQ(item.WriteToFile(&ini), c.ok);
    EXPECT_EQ(item.ReadFromFile(&ini), c.ok);
    EXPECT_TRUE(ini.values.empty());
  }
}

TEST_F(NumberFileTest, ReadsAndWritesTheValueToTheController) {
  Online();
  LambdaFormula();
  ini.WriteString("CONFIGURAZIONE", "Lambda", "0.4");
  EXPECT_TRUE(item.ReadFromFile(&ini));
  EXPECT_EQ(link.memory[163], 101);
  ini.WriteString("CONFIGURAZIONE", "Lambda", "0,6");  // another region's separator
  EXPECT_TRUE(item.ReadFromFile(&ini));
  EXPECT_EQ(link.memory[163], 151);
}

TEST_F(NumberFileTest, RejectsMissingAndNonNumericKeysWithoutTouchingTheItem) {
  Online();
  EXPECT_FALSE(item.ReadFromFile(&ini));
  ini.WriteString("CONFIGURAZIONE", "Lambda", "abc");
  EXPECT_FALSE(item.ReadFromFile(&ini));
  item.StoreUserValue = false;
  EXPECT_FALSE(item.ReadFromFile(&ini));
  EXPECT_EQ(link.Count("Write"), 0);
  EXPECT_TRUE(listener.received.empty());
}

TEST_F(NumberFileTest, RawValuesGoThroughSetEcuData) {
  Online();
  item.StoreUserValue = false;
  ini.WriteString("CONFIGURAZIONE", "Lambda", "12");
  EXPECT_TRUE(item.ReadFromFile(&ini));
  EXPECT_EQ(link.Count("WriteByAddress 0 163 12"), 1);
}

TEST_F(NumberFileTest, RefusedWriteTellsTheControlsAgain) {
  Online();
  link.fail_writes = true;
  ini.WriteString("CONFIGURAZIONE", "Lambda", "7");
  EXPECT_FALSE(item.ReadFromFile(&ini));
  EXPECT_EQ(listener.received.back(), (Received{MSG_DATA_CHANGED, AsWParam(&item), 0}));
}

TEST_F(NumberFileTest, OldReadModeKeepsTheValueLocally) {
  Online();
  item.OldReadFileMode = true;
  ini.WriteString("CONFIGURAZIONE", "Lambda", "7");
  EXPECT_TRUE(item.ReadFromFile(&ini));
  EXPECT_EQ(item.RawValue(), 7);
  item.StoreUserValue = false;
  ini.WriteString("CONFIGURAZIONE", "Lambda", "0x10");
  EXPECT_TRUE(item.ReadFromFile(&ini));
  EXPECT_EQ(item.RawValue(), 16);
  EXPECT_EQ(link.Count("Write"), 0);
  EXPECT_EQ(listener.received.size(), 2u);
}

// ------------------------------------------------------------ resources

TEST(NumberResource, LoadedItemHoldsItsDefaultWithoutWriting) {
  FakeLink link;
  link.open = true;
  Component root;
  auto* conn = new TQorConnection(&root);
  conn->SetName("Conn");
  conn->AttachLink(&link);
  auto errors = LoadResource(root, {{"Giri",
                                     Create<TQorNumber>,
                                     {{"ByAddress", true},
                                      {"Address", 223LL},
                                      {"DataMask", 255LL},
                                      {"Transformation", static_cast<long long>(ttFormula)},
                                      {"Coeffs", PropertyList{0, 117000, 1, 0}},
                                      {"Precision", 10LL},
                                      {"DefaultValue", 3000LL},
                                      {"Connection", ComponentRef{"Conn"}},
                                      {"FileSection", std::string("CONFIGURAZIONE")},
                                      {"FileKeyName", std::string("GiriCambio")},
                                      {"RowIndex", -1LL},
                                      {"ColIndex", -1LL}}}});
  EXPECT_TRUE(errors.empty());
  auto* giri = dynamic_cast<TQorNumber*>(root.FindComponent("Giri"));
  ASSERT_NE(giri, nullptr);
  EXPECT_EQ(giri->RawValue(), 39);
  EXPECT_EQ(link.Count("Write"), 0);
  conn->AttachLink(nullptr);
}

}  // namespace

namespace {

TEST_F(NumberTest, ValuesTheConversionCannotExpressAreNeverSent) {
  Online();
  struct Case {
    const char* what;
    TransformationType type;
    PropertyList coeffs;
    double user;
  };
  const double ecu[] = {5, 133}, user[] = {0, 1};
  item.SetConversionTable(ecu, user, 2);
  for (const Case& c : {Case{"not in table", ttTabled, {1, 0, 0, 1}, 0.5},
                        Case{"zero denominator", ttFormula, {0, 117000, 1, 0}, 0}}) {
    item.SetTransformationType(c.type);
    item.SetCoeffsList(c.coeffs);
    listener.received.clear();
    EXPECT_FALSE(item.SetData(c.user)) << c.what;
    EXPECT_EQ(listener.received.size(), 1u);  // the control shows the held value again
  }
  EXPECT_EQ(link.Count("Write"), 0);
}

}  // namespace

namespace {

TEST(Number, DefaultTheConversionCannotExpressKeepsTheHeldValue) {
  TQorNumber rpm;
  rpm.SetTransformationType(ttFormula);
  rpm.SetCoeffsList({0, 117000, 1, 0});  // K/r: 0 RPM has no period byte
  rpm.DisableLimits = true;
  rpm.DefaultValue = 0;
  EXPECT_TRUE(rpm.ResetDefault(false));
  EXPECT_EQ(rpm.RawValue(), 0);
  EXPECT_EQ(rpm.GetDouble(), kZeroDenominator);  // "off", as a controller byte 0 reads
}

}  // namespace
