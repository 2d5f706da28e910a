#include "components/storage/QorRegistryData.h"

#include <gtest/gtest.h>

#include "fixtures/TestFiles.h"

namespace vzt {
namespace {

using Lines = std::vector<std::string>;

using namespace std::string_literals;

const char* const kKey = "software\\qor srl\\VZT905";

class QorRegistryDataTest : public ::testing::Test {
 protected:
  // The settings as the main window declares them.
  std::unique_ptr<TQorRegistryData> MainWindowSettings() {
    auto data = std::make_unique<TQorRegistryData>();
    data->SetKeyName(kKey);
    Lines ints{"Language=0"};
    data->SetStringList(TQorRegistryData::IntegerList, ints);
    return data;
  }

  // What the registry holds, read through a registry of its own.
  std::optional<std::int32_t> StoredInteger(const std::string& name) {
    Registry registry;
    std::int32_t value = 0;
    if (!registry.OpenKey(kKey, false) || !registry.ReadInteger(name, value)) return std::nullopt;
    return value;
  }

  void Store(const std::function<void(Registry&)>& write) {
    Registry registry;
    ASSERT_TRUE(registry.OpenKey(kKey, true));
    write(registry);
  }

  std::string KeyFile() const { return Registry::KeyFileName(kKey); }

  test::ScratchFolder folder_;
  test::ScopedEnv config_{"XDG_CONFIG_HOME", folder_.Path()};
};

TEST_F(QorRegistryDataTest, FirstRunCreatesTheKeyKeepsTheDefaultAndSavesItAtTheEnd) {
  auto data = MainWindowSettings();
  EXPECT_FALSE(data->LoadData());
  EXPECT_TRUE(std::filesystem::exists(KeyFile()));
  EXPECT_EQ(data->GetIntData("Language"), 0);
  EXPECT_EQ(StoredInteger("Language"), std::nullopt);

  data.reset();
  EXPECT_EQ(StoredInteger("Language"), 0);
}

TEST_F(QorRegistryDataTest, ChangesStayInMemoryUntilSaved) {
  auto data = MainWindowSettings();
  ASSERT_TRUE(data->SaveData());
  data->SetIntData("language", 2);
  EXPECT_EQ(data->GetIntData("Language"), 2);
  EXPECT_EQ(StoredInteger("Language"), 0);

  ASSERT_TRUE(data->SaveData());
  EXPECT_EQ(StoredInteger("Language"), 2);
  auto next = MainWindowSettings();
  EXPECT_TRUE(next->LoadData());
  EXPECT_EQ(next->GetIntData("Language"), 2);
}

TEST_F(QorRegistryDataTest, AbsentNamesReadAsZeroAndEmpty) {
  auto data = MainWindowSettings();
  EXPECT_EQ(data->GetIntData("Missing"), 0);
  EXPECT_EQ(data->GetStringData("Missing"), "");
}

TEST_F(QorRegistryDataTest, SetIntDataAndSetStringDataAppendNewNamesAndReplaceKnownOnes) {
  TQorRegistryData data;
  data.SetIntData("A", 1);
  data.SetIntData("a", -5);
  data.SetStringData("Name", "x");
  data.SetStringData("Empty", "");
  EXPECT_EQ(data.IntegerDataList(), (Lines{"a=-5"}));
  EXPECT_EQ(data.StringDataList(), (Lines{"Name=x", "Empty="}));

  data.SetStringData("name", "");
  EXPECT_EQ(data.StringDataList(), (Lines{"Empty="}));
  EXPECT_EQ(data.GetCount(TQorRegistryData::StringList), 1);
  EXPECT_EQ(data.GetCount(TQorRegistryData::IntegerList), 1);
  EXPECT_EQ(data.GetCount(3), 0);
}

TEST_F(QorRegistryDataTest, SetStringListCleansTheGivenListAndZeroesNonNumbers) {
  TQorRegistryData data;
  Lines list{"  Language=0 \t", "no equals sign", "Other=abc"};
  data.SetStringList(TQorRegistryData::IntegerList, list);
  EXPECT_EQ(list, (Lines{"Language=0", "Other=abc"}));
  EXPECT_EQ(data.IntegerDataList(), (Lines{"Language=0", "Other=0"}));

  Lines texts{" Title=abc ", "junk"};
  data.SetStringList(TQorRegistryData::StringList, texts);
  EXPECT_EQ(data.StringDataList(), (Lines{"Title=abc"}));

  Lines other{" x=1 ", "junk"};
  data.SetStringList(7, other);
  EXPECT_EQ(other, (Lines{"x=1"}));
  EXPECT_EQ(data.IntegerDataList(), (Lines{"Language=0", "Other=0"}));
  EXPECT_EQ(data.StringDataList(), (Lines{"Title=abc"}));
}

TEST_F(QorRegistryDataTest, TextSettingsRoundTripAndAnEmptyTextDoesNotStopTheLoad) {
  Store([](Registry& r) {
    r.WriteString("First", "");
    r.WriteString("Second", "from registry");
  });
  TQorRegistryData data;
  data.SetKeyName(kKey);
  Lines texts{"First=default", "Second=default", "Third=keep"};
  data.SetStringList(TQorRegistryData::StringList, texts);

  EXPECT_FALSE(data.LoadData());
  EXPECT_EQ(data.StringDataList(), (Lines{"Second=from registry", "Third=keep"}));

  data.SetStringData("Second", "changed \"quoted\"\nline");
  ASSERT_TRUE(data.SaveData());
  TQorRegistryData again;
  again.SetKeyName(kKey);
  Lines declared{"Second=", "Third=x"};
  again.SetStringList(TQorRegistryData::StringList, declared);
  EXPECT_TRUE(again.LoadData());
  EXPECT_EQ(again.GetStringData("Second"), "changed \"quoted\"\nline");
  EXPECT_EQ(again.GetStringData("Third"), "keep");
}

TEST_F(QorRegistryDataTest, MissingValueEventsSupplyTheDefault) {
  auto data = MainWindowSettings();
  data->SetIntData("Language", 4);
  Lines texts{"Title=t"};
  data->SetStringList(TQorRegistryData::StringList, texts);
  std::vector<std::string> asked;
  data->OnMissingIntegerValue = [&](Component* sender, const std::string& name, int& value) {
    EXPECT_EQ(sender, data.get());
    asked.push_back(name + "=" + std::to_string(value));
    value = 7;
  };
  data->OnMissingStringValue = [&](Component*, const std::string& name, std::string& value) {
    asked.push_back(name + "=" + value);
    value = "from event";
  };

  EXPECT_FALSE(data->LoadData());
  EXPECT_EQ(asked, (Lines{"Title=t", "Language=4"}));
  EXPECT_EQ(data->GetIntData("Language"), 7);
  EXPECT_EQ(data->GetStringData("Title"), "from event");
}

TEST_F(QorRegistryDataTest, AValueOfTheOtherTypeCountsAsMissing) {
  Store([](Registry& r) { r.WriteString("Language", "3"); });
  auto data = MainWindowSettings();
  EXPECT_FALSE(data->LoadData());
  EXPECT_EQ(data->GetIntData("Language"), 0);
}

TEST_F(QorRegistryDataTest, ADamagedKeyFileGivesDefaultsAndSavingKeepsTheOtherSettings) {
  Store([](Registry& r) { r.WriteInteger("Other", 42); });
  test::WriteFile(KeyFile(), test::ReadFile(KeyFile()) +
                                 "\"Language\"=dword:zz\n\x01\x02garbage\0\n\"Broken=\n"s);
  auto data = MainWindowSettings();
  data->SetIntData("Language", 1);

  EXPECT_FALSE(data->LoadData());
  EXPECT_EQ(data->GetIntData("Language"), 1);
  EXPECT_TRUE(data->SaveData());
  EXPECT_EQ(StoredInteger("Language"), 1);
  EXPECT_EQ(StoredInteger("Other"), 42);
}

TEST_F(QorRegistryDataTest, DeleteRemovesTheLineAndOnRequestTheRegistryValue) {
  auto data = MainWindowSettings();
  data->SetIntData("Language", 3);
  ASSERT_TRUE(data->SaveData());

  data->DeleteIntegerValue("Language", false);
  EXPECT_EQ(data->GetCount(TQorRegistryData::IntegerList), 0);
  EXPECT_EQ(StoredInteger("Language"), 3);

  data->SetIntData("Language", 3);
  data->DeleteIntegerValue("LANGUAGE", true);
  EXPECT_EQ(data->GetCount(TQorRegistryData::IntegerList), 0);
  EXPECT_EQ(StoredInteger("Language"), std::nullopt);

  Store([](Registry& r) { r.WriteString("Title", "t"); });
  data->SetStringData("Title", "t");
  data->DeleteStringValue("Title", true);
  EXPECT_EQ(data->GetCount(TQorRegistryData::StringList), 0);
  Registry registry;
  ASSERT_TRUE(registry.OpenKey(kKey, false));
  EXPECT_FALSE(registry.ValueExists("Title"));
}

TEST_F(QorRegistryDataTest, DeletingFromTheRegistryNeverCreatesTheKey) {
  auto data = MainWindowSettings();
  data->DeleteIntegerValue("Language", true);
  EXPECT_FALSE(std::filesystem::exists(KeyFile()));
}

TEST_F(QorRegistryDataTest, WithoutAKeyNameNothingTouchesTheRegistry) {
  {
    TQorRegistryData data;
    Lines ints{"Language=5"};
    data.SetStringList(TQorRegistryData::IntegerList, ints);
    EXPECT_FALSE(data.LoadData());
    EXPECT_FALSE(data.SaveData());
    EXPECT_EQ(data.GetIntData("Language"), 5);
  }
  EXPECT_TRUE(folder_.Entries().empty());
}

TEST_F(QorRegistryDataTest, AKeyThatCannotBeOpenedFailsAndKeepsTheValues) {
  test::WriteFile(folder_.File("vzt-registry"), "a file where the registry folder should be");
  auto data = MainWindowSettings();
  data->SetIntData("Language", 6);
  EXPECT_FALSE(data->LoadData());
  EXPECT_FALSE(data->SaveData());
  EXPECT_EQ(data->GetIntData("Language"), 6);
}

// Each value is written on its own and atomically: one that cannot be written is lost
// alone, the others still reach the registry and the key file is never left half-written.
TEST_F(QorRegistryDataTest, AFailedWriteDoesNotStopTheSaveNorDamageTheKey) {
  Store([](Registry& r) { r.WriteInteger("Other", 42); });
  auto data = MainWindowSettings();
  data->SetIntData("Language", 2);
  Lines texts{"Big=" + std::string(4000, 'x')};
  data->SetStringList(TQorRegistryData::StringList, texts);
  {
    test::FileSizeLimit limit(test::ReadFile(KeyFile()).size() + 64);
    EXPECT_FALSE(data->SaveData());
  }
  EXPECT_EQ(StoredInteger("Language"), 2);
  EXPECT_EQ(StoredInteger("Other"), 42);
  Registry registry;
  ASSERT_TRUE(registry.OpenKey(kKey, false));
  EXPECT_FALSE(registry.ValueExists("Big"));
  data->SetStringData("Big", "");
}

TEST_F(QorRegistryDataTest, PropertiesAreSetByName) {
  using T = TQorRegistryData;
  T data;
  int asked = 0;
  TMissingIntegerValueEvent onMissing = [&](Component*, const std::string&, int& v) {
    ++asked;
    v = 9;
  };
  EXPECT_TRUE(data.SetProperty("KeyName", std::string(kKey)));
  EXPECT_TRUE(data.SetProperty("IntegerDataList", std::string(" Language=0\r\nx\nOther=z\n")));
  EXPECT_TRUE(data.SetProperty("StringDataList", std::string("Title=t")));
  EXPECT_TRUE(data.SetProperty("OnMissingIntegerValue", MethodRef{"Handler", onMissing}));
  EXPECT_TRUE(data.SetProperty("Name", std::string("QorRegistryData")));
  EXPECT_FALSE(data.SetProperty("IntegerDataList", 3LL));
  EXPECT_FALSE(data.SetProperty("OnMissingStringValue", MethodRef{"Handler", onMissing}));
  EXPECT_FALSE(data.SetProperty("NoSuchProperty", std::string("x")));

  EXPECT_EQ(data.KeyName(), kKey);
  EXPECT_EQ(data.IntegerDataList(), (Lines{"Language=0", "Other=0"}));
  EXPECT_EQ(data.StringDataList(), (Lines{"Title=t"}));
  EXPECT_EQ(data.Name(), "QorRegistryData");
  EXPECT_FALSE(data.LoadData());
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(data.GetIntData("Other"), 9);
}

}  // namespace
}  // namespace vzt
