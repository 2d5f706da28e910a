#include <gtest/gtest.h>

#include <memory>

#include "TestItem.h"
#include "components/comm/Qorconnection.h"
#include "components/data/SerialData.h"
#include "platform/Resource.h"

using namespace vzt;
using vzt::test::Received;
using vzt::test::RecordingListener;
using vzt::test::TestItem;

namespace {

// ------------------------------------------------------------ setters

TEST(SerialDataSetters, StartWithTheDocumentedValues) {
  TestItem item(nullptr);
  EXPECT_EQ(item.DataMask(), 0xFF);
  EXPECT_EQ(item.DataLength(), 1);
  EXPECT_EQ(item.RequestCode(), 0u);
  EXPECT_EQ(item.ColIndex(), -1);
  EXPECT_EQ(item.RowIndex(), -1);
  EXPECT_EQ(item.CoeffsList(), (PropertyList{1, 0, 0, 1}));
  EXPECT_EQ(item.ConversionTableList(), PropertyList{0});
  EXPECT_FALSE(item.IsValid());
}

struct MaskCase {
  int length;
  int mask;
  int expected;
};

void PrintTo(const MaskCase& c, std::ostream* os) {
  *os << c.length << " byte(s), mask " << c.mask;
}

class DataMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(DataMaskTest, TakesOnlyOneRunOfBitsWithinTheLength) {
  TestItem item;
  item.SetDataLength(GetParam().length);
  item.SetDataMask(0x0F);
  item.SetDataMask(GetParam().mask);
  EXPECT_EQ(item.DataMask(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DataMaskTest,
                         ::testing::Values(MaskCase{1, 0x0F0, 0x0F0}, MaskCase{1, 0x0F1, 0x0F},
                                           MaskCase{1, 0, 0}, MaskCase{1, 0x1FF, 0xFF},
                                           MaskCase{1, 0x80, 0x80}, MaskCase{1, 0x101, 0x01},
                                           MaskCase{2, 0x1FF, 0x1FF}, MaskCase{2, 0xF00F, 0x0F},
                                           MaskCase{2, 0x3FFFF, 0xFFFF}));

TEST(SerialDataSetters, MaskChangeClearsValueAndValidity) {
  TestItem item;
  item.Load();
  item.raw = 7;
  ASSERT_TRUE(item.IsValid());
  item.SetDataMask(0x0F);
  EXPECT_FALSE(item.IsValid());
  EXPECT_EQ(item.raw, 0);
}

TEST(SerialDataSetters, DataLengthSwitchesMaskAndRequestCode) {
  TestItem item;
  item.SetDataLength(3);
  item.SetDataLength(0);
  EXPECT_EQ(item.DataLength(), 1);
  item.SetDataLength(2);
  EXPECT_EQ(item.DataMask(), 0xFFFF);
  EXPECT_EQ(item.RequestCode(), RC_TWO_BYTES);
  item.SetDataLength(1);
  EXPECT_EQ(item.DataMask(), 0xFF);
  EXPECT_EQ(item.RequestCode(), 0u);
}

TEST(SerialDataSetters, SerialCodeAndSignKeepTheOtherRequestBits) {
  TestItem item;
  item.SetDataLength(2);
  item.SetSerialCode(300);
  EXPECT_EQ(item.SerialCode(), 44);
  item.SetSerialCode(-1);
  EXPECT_EQ(item.SerialCode(), 44);
  item.SetDataSigned(true);
  EXPECT_EQ(item.RequestCode(), 44u | RC_TWO_BYTES | RC_SIGNED);
  item.SetSerialCode(7);
  item.SetDataSigned(false);
  EXPECT_EQ(item.RequestCode(), 7u | RC_TWO_BYTES);
}

TEST(SerialDataSetters, LimitsMustStayOrderedExceptWhileLoading) {
  TestItem item;
  item.SetMinValue(10);  // above the max of 0
  EXPECT_EQ(item.ValueMin(), 0);
  item.SetMaxValue(100);
  item.SetMinValue(10);
  item.SetMaxValue(5);
  EXPECT_EQ(item.ValueMin(), 10);
  EXPECT_EQ(item.ValueMax(), 100);
  item.BeginLoading();
  item.SetMinValue(500);
  EXPECT_EQ(item.ValueMin(), 500);
}

// ------------------------------------------------------------ conversion table

TEST(ConversionTable, ListPropertyRoundTrips) {
  TestItem item;
  ASSERT_TRUE(item.SetConversionTableList({2, 1.0, 2.0, 10.0, 20.0}));
  EXPECT_EQ(item.ConversionTableLength(), 2);
  EXPECT_EQ(item.GetEcuTableValue(1), 2.0);
  EXPECT_EQ(item.GetUserTableValue(0), 10.0);
  EXPECT_EQ(item.ConversionTableList(), (PropertyList{2, 1.0, 2.0, 10.0, 20.0}));
  EXPECT_TRUE(item.SetConversionTableList({0}));
  EXPECT_FALSE(item.HasConversionTable());
}

TEST(ConversionTable, MalformedListsLeaveNoTable) {
  for (const PropertyList& bad : {PropertyList{}, PropertyList{2, 1, 2, 10},
                                  PropertyList{1.5, 1, 2}, PropertyList{3, 1, 2},
                                  PropertyList{1e300, 1, 2}, PropertyList{-1, 4}}) {
    TestItem item;
    item.SetConversionTableList({1, 5, 6});
    EXPECT_FALSE(item.SetConversionTableList(bad));
    EXPECT_FALSE(item.HasConversionTable());
  }
}

TEST(ConversionTable, AccessOutsideTheTableIsHarmless) {
  TestItem item;
  EXPECT_EQ(item.GetEcuTableValue(0), 0.0);
  item.SetEcuTableValue(0, 3);
  const double e[] = {1, 2}, u[] = {3, 4};
  item.SetConversionTable(e, u, 2);
  for (int i : {-1, 2}) {
    item.SetEcuTableValue(i, 9);
    item.SetUserTableValue(i, 9);
    EXPECT_EQ(item.GetEcuTableValue(i), 0.0);
    EXPECT_EQ(item.GetUserTableValue(i), 0.0);
  }
  item.SetUserTableValue(1, 8);
  EXPECT_EQ(item.ConversionTableList(), (PropertyList{2, 1, 2, 3, 8}));
  item.DeleteConversionTable();
  EXPECT_EQ(item.ConversionTableLength(), 0);
}

// ------------------------------------------------------------ notification

TEST(NotifyData, ReachesEachListenerOnceInOrder) {
  TestItem item;
  RecordingListener a, b;
  std::vector<const RecordingListener*> order;
  a.on_message = [&] { order.push_back(&a); };
  b.on_message = [&] { order.push_back(&b); };
  item.AddNotificationList(&a);
  item.AddNotificationList(&b);
  item.AddNotificationList(&a);
  item.NotifyData(MSG_DATA_CHANGED, AsWParam(&item), 0);
  EXPECT_EQ(order, (std::vector<const RecordingListener*>{&a, &b}));

  item.RemoveNotificationList(&a);
  item.RemoveNotificationList(&a);
  item.NotifyData(MSG_COM_ERROR, AsWParam(&item), 4);
  EXPECT_EQ(a.received.size(), 1u);
  EXPECT_EQ(b.received.back(), (Received{MSG_COM_ERROR, AsWParam(&item), 4}));
}

TEST(NotifyData, SilentWhileNotificationsAreOff) {
  TestItem item;
  RecordingListener listener;
  item.AddNotificationList(&listener);
  item.SetDataMask(0x0F);
  item.controller_byte = 1;
  item.ConvertValueToEcu(1, &item.raw);  // the masking re-read notifies nothing
  EXPECT_TRUE(listener.received.empty());
}

TEST(NotifyData, ChainedItemsForwardTheOriginatingItem) {
  TestItem first, second;
  RecordingListener control;
  second.AddNotificationList(&control);
  first.AddNotificationList(&second);
  first.NotifyData(MSG_DATA_CHANGED, AsWParam(&first), 0);
  ASSERT_EQ(control.received.size(), 1u);
  EXPECT_EQ(control.received[0].wparam, AsWParam(&first));
}

TEST(NotifyData, ItemsLinkedInACycleStop) {
  TestItem a, b, c;
  RecordingListener control;
  a.AddNotificationList(&b);
  b.AddNotificationList(&c);
  c.AddNotificationList(&a);
  c.AddNotificationList(&control);
  a.NotifyData(MSG_DATA_CHANGED, AsWParam(&a), 0);
  EXPECT_EQ(control.received.size(), 1u);
}

TEST(NotifyData, AListenerMayTriggerAFreshMessageFromTheSameItem) {
  TestItem item;
  RecordingListener listener;
  item.AddNotificationList(&listener);
  listener.on_message = [&] {
    if (listener.received.size() == 1) item.NotifyData(MSG_COM_ERROR, AsWParam(&item), 4);
  };
  item.NotifyData(MSG_DATA_CHANGED, AsWParam(&item), 0);
  EXPECT_EQ(listener.received.size(), 2u);
}

TEST(NotifyData, DestroyedListenerIsForgotten) {
  TestItem item;
  {
    RecordingListener listener;
    item.AddNotificationList(&listener);
  }
  EXPECT_TRUE(item.NotificationList().empty());
  item.NotifyData(MSG_DATA_CHANGED, 0, 0);
}

// ------------------------------------------------------------ dispatchers and errors

TEST(Dispatchers, DataEventsFireBeforeTheListenersHearOfIt) {
  TestItem item;
  RecordingListener listener;
  item.AddNotificationList(&listener);
  std::vector<std::string> log;
  listener.on_message = [&] { log.push_back("listener"); };
  item.OnGetData = [&](Component* s) { log.push_back(s == &item ? "get" : "?"); };
  item.OnSetData = [&](Component*) { log.push_back("set"); };
  item.BeforeGetData = [&](Component*) { log.push_back("before get"); };
  item.BeforeSetData = [&](Component*) { log.push_back("before set"); };
  item.DoBeforeGetData();
  item.DoGetData();
  item.DoBeforeSetData();
  item.DoSetData();
  item.DoComError(4);
  EXPECT_EQ(log, (std::vector<std::string>{"before get", "get", "listener", "before set", "set",
                                           "listener", "listener"}));
  EXPECT_EQ(listener.received.back(), (Received{MSG_COM_ERROR, AsWParam(&item), 4}));
}

TEST(Dispatchers, ErrorCodeIsMinusOneWithoutALibrary) {
  struct Case {
    const char* dll;  // null: no connection at all
    int expected;
  };
  for (const Case& c : {Case{nullptr, -1}, Case{"NoSuchLibrary.dll", -1},
                        Case{"TestLink_4_10_0.dll", 0x10}}) {
    TQorConnection conn;
    TestItem item;
    if (c.dll) {
      conn.SetDllName(c.dll);
      item.SetConnection(&conn);
    }
    int code = 0;
    bool writing = false;
    item.OnError = [&](Component*, int e, bool w) {
      code = e;
      writing = w;
    };
    item.DoError(true);
    EXPECT_EQ(code, c.expected) << (c.dll ? c.dll : "no connection");
    EXPECT_TRUE(writing);
  }
}

TEST(Dispatchers, DestroyedConnectionIsForgotten) {
  TestItem item;
  {
    TQorConnection conn;
    item.SetConnection(&conn);
    EXPECT_EQ(item.Connection(), &conn);
  }
  EXPECT_EQ(item.Connection(), nullptr);
}

// ------------------------------------------------------------ resources

TEST(Resource, ItemsAreBuiltFromTablesAndResetOnLoad) {
  Component root;
  TConvertToUserEvent half = [](Component*, int r, double& u) { u = r / 2.0; };
  auto errors = LoadResource(
      root, {{"Conn", Create<TQorConnection>, {{"DllName", std::string("X.dll")}}},
             {"Item",
              Create<TestItem>,
              {{"DataMask", 0x18LL},
               {"Transformation", static_cast<long long>(ttCustom)},
               {"MeasureUnit", std::string("V")},
               {"Precision", 0.5},
               {"ValueMin", 5LL},
               {"ValueMax", 3LL},
               {"DataGroup", 1LL},
               {"OldReadFileMode", true},
               {"Coeffs", PropertyList{4, -4, 0, 1000}},
               {"ConversionTable", PropertyList{1, 5, 0}},
               {"OnConvertToUser", MethodRef{"Half", half}},
               {"ExtCoeffA", ComponentRef{"Other"}},
               {"Name", std::string("Renamed")}}},
             {"Other", Create<TestItem>, {}}});
  EXPECT_TRUE(errors.empty());
  auto* item = dynamic_cast<TestItem*>(root.FindComponent("Renamed"));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->DataMask(), 0x18);
  EXPECT_EQ(item->MeasureUnit, "V");
  EXPECT_EQ(item->ValueMin(), 5);  // loading takes limits in any order
  EXPECT_EQ(item->ValueMax(), 3);
  EXPECT_EQ(item->DataGroup, 1);
  EXPECT_TRUE(item->OldReadFileMode);
  EXPECT_EQ(item->CoeffsList(), (PropertyList{4, -4, 0, 1000}));
  EXPECT_EQ(item->ConversionTableLength(), 1);
  EXPECT_EQ(item->ConvertValueToUser(0x18), 12);
  EXPECT_EQ(item->GetExtCoeff(1), root.FindComponent("Other"));
  EXPECT_EQ(item->resets, 1);
  EXPECT_FALSE(item->IsLoading());
}

TEST(Resource, WrongValuesAreReportedNotApplied) {
  Component root;
  TNotifyEvent wrongShape = [](Component*) {};
  auto errors =
      LoadResource(root, {{"Item",
                           Create<TestItem>,
                           {{"DataMask", std::string("x")},
                            {"OnConvertToUser", MethodRef{"Wrong", wrongShape}},
                            {"ExtCoeffB", ComponentRef{"Missing"}},
                            {"TransformationC", ComponentRef{"Item2"}},
                            {"Coeffs", PropertyList{1}},
                            {"Nonsense", 1LL}}},
                          {"Item2", Create<TestItem>, {}}});
  ASSERT_EQ(errors.size(), 6u);
  EXPECT_EQ(errors[2].reason, "no component named Missing");
  auto* item = dynamic_cast<TestItem*>(root.FindComponent("Item"));
  EXPECT_FALSE(item->OnConvertToUser);
  EXPECT_EQ(item->GetTransformation(3), nullptr);
}

TEST(SerialData, IsQorSerialData) {
  TestItem item;
  Component plain;
  EXPECT_TRUE(IsQorSerialData(&item));
  EXPECT_FALSE(IsQorSerialData(&plain));
  EXPECT_FALSE(IsQorSerialData(nullptr));
}

TEST(SerialData, GetUserValueFromPacketReadsLittleEndian) {
  TestItem item;
  const unsigned char bytes[] = {0xFE, 0xFF};
  EXPECT_EQ(item.GetUserValueFromPacket(bytes), 254);
  item.SetDataLength(2);
  EXPECT_EQ(item.GetUserValueFromPacket(bytes), 65534);
  item.SetDataSigned(true);
  EXPECT_EQ(item.GetUserValueFromPacket(bytes), -2);
}

}  // namespace
