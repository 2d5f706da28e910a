#include "platform/Registry.h"

#include <gtest/gtest.h>

#include "fixtures/TestFiles.h"

namespace vzt {
namespace {

using namespace std::string_literals;

const char* const kKey = "Software\\Maker\\Tool";

class RegistryTest : public ::testing::Test {
 protected:
  std::string KeyFile() const { return Registry::KeyFileName(kKey); }

  test::ScratchFolder folder_;
  test::ScopedEnv config_{"XDG_CONFIG_HOME", folder_.Path()};
};

TEST_F(RegistryTest, KeysAreFilesUnderTheConfigurationFolderIgnoringCase) {
  EXPECT_EQ(KeyFile(), folder_.Path() + "/vzt-registry/software/maker/tool.reg");
  EXPECT_EQ(Registry::KeyFileName("\\SOFTWARE\\maker\\\\TOOL\\"), KeyFile());
  EXPECT_EQ(Registry::KeyFileName("software/maker/tool"), KeyFile());
}

TEST_F(RegistryTest, PathsThatWouldLeaveTheRegistryFolderAreRefused) {
  for (const char* path : {"", "\\", "..\\x", "a\\..\\..\\b", "a\\.\\b"}) {
    Registry registry;
    EXPECT_EQ(Registry::KeyFileName(path), "") << path;
    EXPECT_FALSE(registry.OpenKey(path, true)) << path;
    EXPECT_FALSE(registry.LastError().empty());
  }
  EXPECT_EQ(Registry::KeyFileName("a\0b"s), "");
  EXPECT_EQ(folder_.Entries(), std::set<std::string>{});
}

TEST_F(RegistryTest, FallsBackToTheHomeConfigFolderWhenXdgIsNotAbsolute) {
  test::ScopedEnv relative("XDG_CONFIG_HOME", "relative");
  test::ScopedEnv home("HOME", folder_.Path());
  EXPECT_EQ(KeyFile(), folder_.Path() + "/.config/vzt-registry/software/maker/tool.reg");
  test::ScopedEnv noHome("HOME", "");
  EXPECT_EQ(KeyFile(), "");
}

TEST_F(RegistryTest, OpenKeyCreatesAMissingKeyOnlyWhenAsked) {
  Registry registry;
  EXPECT_FALSE(registry.OpenKey(kKey, false));
  EXPECT_FALSE(registry.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(KeyFile()));

  EXPECT_TRUE(registry.OpenKey(kKey, true));
  EXPECT_TRUE(registry.IsOpen());
  EXPECT_TRUE(std::filesystem::exists(KeyFile()));
  registry.CloseKey();
  EXPECT_TRUE(registry.OpenKey(kKey, false));
}

TEST_F(RegistryTest, ValuesOfBothTypesSurviveReopeningTheKey) {
  const std::string awkward = "quote \" backslash \\ newline \n cr \r tab \t nul \0 high \xe9 end"s;
  {
    Registry registry;
    ASSERT_TRUE(registry.OpenKey(kKey, true));
    ASSERT_TRUE(registry.WriteString("Text", awkward));
    ASSERT_TRUE(registry.WriteString("we\"ird\\name", ""));
    ASSERT_TRUE(registry.WriteInteger("Language", 2));
    ASSERT_TRUE(registry.WriteInteger("Negative", -1));
    ASSERT_TRUE(registry.WriteInteger("Smallest", INT32_MIN));
  }
  Registry registry;
  ASSERT_TRUE(registry.OpenKey("software\\maker\\TOOL", false));
  std::string text;
  std::int32_t number = 0;
  EXPECT_TRUE(registry.ReadString("text", text));
  EXPECT_EQ(text, awkward);
  EXPECT_TRUE(registry.ReadString("WE\"IRD\\NAME", text));
  EXPECT_EQ(text, "");
  EXPECT_TRUE(registry.ReadInteger("LANGUAGE", number));
  EXPECT_EQ(number, 2);
  EXPECT_TRUE(registry.ReadInteger("Negative", number));
  EXPECT_EQ(number, -1);
  EXPECT_TRUE(registry.ReadInteger("Smallest", number));
  EXPECT_EQ(number, INT32_MIN);
}

TEST_F(RegistryTest, ReadsFailForMissingValuesAndForTheOtherType) {
  Registry registry;
  ASSERT_TRUE(registry.OpenKey(kKey, true));
  ASSERT_TRUE(registry.WriteString("Text", "3"));
  ASSERT_TRUE(registry.WriteInteger("Number", 3));
  std::string text = "unchanged";
  std::int32_t number = 77;

  EXPECT_FALSE(registry.ReadInteger("Text", number));
  EXPECT_FALSE(registry.ReadString("Number", text));
  EXPECT_FALSE(registry.ReadString("Missing", text));
  EXPECT_EQ(number, 77);
  EXPECT_EQ(text, "unchanged");
  EXPECT_EQ(registry.GetDataType("Text"), RegistryDataType::String);
  EXPECT_EQ(registry.GetDataType("number"), RegistryDataType::Integer);
  EXPECT_EQ(registry.GetDataType("Missing"), RegistryDataType::None);
}

TEST_F(RegistryTest, AWriteReplacesAValueOfEitherTypeAndDeleteRemovesIt) {
  Registry registry;
  ASSERT_TRUE(registry.OpenKey(kKey, true));
  ASSERT_TRUE(registry.WriteString("Value", "text"));
  ASSERT_TRUE(registry.WriteInteger("VALUE", 5));
  EXPECT_EQ(registry.GetDataType("value"), RegistryDataType::Integer);

  EXPECT_TRUE(registry.DeleteValue("value"));
  EXPECT_FALSE(registry.DeleteValue("value"));
  registry.CloseKey();
  ASSERT_TRUE(registry.OpenKey(kKey, false));
  EXPECT_FALSE(registry.ValueExists("Value"));
}

TEST_F(RegistryTest, NothingIsReadOrWrittenWithoutAnOpenKey) {
  Registry registry;
  std::int32_t number = 0;
  EXPECT_FALSE(registry.WriteInteger("Language", 1));
  EXPECT_FALSE(registry.ReadInteger("Language", number));
  EXPECT_FALSE(registry.DeleteValue("Language"));
  EXPECT_TRUE(folder_.Entries().empty());
}

// Lines that do not parse read as missing values; every line that does stays readable.
TEST_F(RegistryTest, ADamagedKeyFileKeepsWhatCanBeReadAndTheNextWriteHealsIt) {
  std::filesystem::create_directories(std::filesystem::path(KeyFile()).parent_path());
  test::WriteFile(KeyFile(),
                  "\"Good\"=dword:0000002a\r\n"
                  "\"ShortDword\"=dword:2a\n"
                  "\"LongDword\"=dword:000000002a\n"
                  "\"BadHex\"=dword:0000002g\n"
                  "\"Unclosed=\"x\n"
                  "\"Trailing\"=\"x\" junk\n"
                  "\"BadEscape\"=\"\\q\"\n"
                  "\"ShortEscape\"=\"\\x4\"\n"
                  "NoQuotes=1\n"
                  "\x00\x01\xff binary\n"
                  "\"Good\"=dword:00000001\n"
                  "\"Text\"=\"ok\""s);
  Registry registry;
  ASSERT_TRUE(registry.OpenKey(kKey, false));
  std::int32_t number = 0;
  std::string text;
  EXPECT_TRUE(registry.ReadInteger("Good", number));
  EXPECT_EQ(number, 42);
  EXPECT_TRUE(registry.ReadString("Text", text));
  EXPECT_EQ(text, "ok");
  for (const char* name : {"ShortDword", "LongDword", "BadHex", "Unclosed", "Trailing",
                           "BadEscape", "ShortEscape", "NoQuotes"})
    EXPECT_FALSE(registry.ValueExists(name)) << name;

  ASSERT_TRUE(registry.WriteInteger("New", 1));
  registry.CloseKey();
  ASSERT_TRUE(registry.OpenKey(kKey, false));
  EXPECT_TRUE(registry.ReadInteger("Good", number));
  EXPECT_EQ(number, 42);
  EXPECT_TRUE(registry.ValueExists("Text"));
  EXPECT_TRUE(registry.ValueExists("New"));
  EXPECT_EQ(test::ReadFile(KeyFile()).find("junk"), std::string::npos);
}

TEST_F(RegistryTest, AKeyFileThatCannotBeReadIsNeitherOpenedNorReplaced) {
  std::filesystem::create_directories(KeyFile());
  Registry registry;
  EXPECT_FALSE(registry.OpenKey(kKey, true));
  EXPECT_TRUE(std::filesystem::is_directory(KeyFile()));

  std::filesystem::remove(KeyFile());
  const std::string huge(2 * 1024 * 1024, ';');
  test::WriteFile(KeyFile(), huge);
  EXPECT_FALSE(registry.OpenKey(kKey, true));
  EXPECT_EQ(std::filesystem::file_size(KeyFile()), huge.size());
}

TEST_F(RegistryTest, AFailedWriteLeavesTheFileAndTheOpenKeyAsTheyWere) {
  Registry registry;
  ASSERT_TRUE(registry.OpenKey(kKey, true));
  ASSERT_TRUE(registry.WriteInteger("Language", 1));
  const std::string before = test::ReadFile(KeyFile());
  {
    test::FileSizeLimit limit(before.size() + 8);
    EXPECT_FALSE(registry.WriteString("Big", std::string(1000, 'x')));
  }
  EXPECT_FALSE(registry.LastError().empty());
  EXPECT_EQ(test::ReadFile(KeyFile()), before);
  EXPECT_FALSE(registry.ValueExists("Big"));
  const auto entries = folder_.Entries();
  EXPECT_EQ(entries.count("vzt-registry/software/maker/tool.reg"), 1u);
  EXPECT_EQ(entries.size(), 4u);  // three folders and the key file, no temporary left
}

}  // namespace
}  // namespace vzt
