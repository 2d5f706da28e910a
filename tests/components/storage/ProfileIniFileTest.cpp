#include "components/storage/ProfileIniFile.h"

#include <gtest/gtest.h>

#include "components/storage/MemIniData.h"
#include "fixtures/TestFiles.h"
#include "platform/NumberText.h"

namespace vzt {
namespace {

using Lines = std::vector<std::string>;

class ProfileIniFileTest : public ::testing::Test {
 protected:
  std::string Path() const { return folder_.File("config.ini"); }
  void Given(const std::string& content) { test::WriteFile(Path(), content); }
  std::string OnDisk() const { return test::ReadFile(Path()); }

  test::ScratchFolder folder_;
};

// The way a configuration is saved: an empty work file, then one write per parameter.
TEST_F(ProfileIniFileTest, BuildsSectionsAndKeysInWriteOrder) {
  Given("");
  TProfileIniFile ini(Path());
  ini.WriteString("CONFIGURAZIONE", "TIPO ACCENSIONE", "0");
  ini.WriteString("CONFIGURAZIONE", "TIPO SEGNALE GIRI", "0");
  ini.WriteString("COMANDI", "RIPROGRAMMAZIONE", "0");
  ini.WriteString("CONFIGURAZIONE", "TEMPO DI SOVRAPPOSIZIONE", "0.4");
  ini.WriteString("configurazione", "tipo segnale giri", "1");
  ini.UpdateFile();

  EXPECT_FALSE(ini.Failed()) << ini.Error();
  EXPECT_EQ(OnDisk(),
            "[CONFIGURAZIONE]\r\n"
            "TIPO ACCENSIONE=0\r\n"
            "TIPO SEGNALE GIRI=1\r\n"
            "TEMPO DI SOVRAPPOSIZIONE=0.4\r\n"
            "[COMANDI]\r\n"
            "RIPROGRAMMAZIONE=0\r\n");
}

TEST_F(ProfileIniFileTest, CreatesAMissingFile) {
  TProfileIniFile ini(Path());
  EXPECT_EQ(ini.ReadString("S", "k", "none"), "none");
  ini.WriteString("S", "k", "v");
  EXPECT_EQ(OnDisk(), "[S]\r\nk=v\r\n");
}

TEST_F(ProfileIniFileTest, AppendsANewKeyAfterTheLastLineOfItsSectionAndLeavesTheRestAlone) {
  Given("; head\n[A]\n a = 1 \n; note\n\n\n[B]\nb=2\n");
  TProfileIniFile ini(Path());
  ini.WriteString("A", "c", "3");
  EXPECT_EQ(OnDisk(), "; head\r\n[A]\r\n a = 1 \r\n; note\r\nc=3\r\n\r\n\r\n[B]\r\nb=2\r\n");
}

TEST_F(ProfileIniFileTest, ReplacesAKeyInPlaceIgnoringCaseAndKeepsItsSpelling) {
  Given("[A]\nFirst=1\n  Key = old \nLast=3\n[a]\nkey=other\n");
  TProfileIniFile ini(Path());
  ini.WriteString("a", "KEY", "new");
  EXPECT_EQ(OnDisk(), "[A]\r\nFirst=1\r\nKey=new\r\nLast=3\r\n[a]\r\nkey=other\r\n");
}

TEST_F(ProfileIniFileTest, ReadsTrimmedValuesOfTheFirstMatchingSection) {
  Given("orphan=0\n[ Sec ]\n; k=comment\n  k =  spaced value  \nplain\nn=1\n[sec]\nk=second\n");
  TProfileIniFile ini(Path());

  EXPECT_EQ(ini.ReadString("SEC", "K", "?"), "spaced value");
  EXPECT_EQ(ini.ReadString("Sec", "orphan", "?"), "?");
  EXPECT_EQ(ini.ReadString("Other", "k", "?"), "?");
  EXPECT_EQ(ini.ReadInteger("sec", "n", -1), 1);

  Lines list;
  ini.ReadSection("sec", list);
  EXPECT_EQ(list, (Lines{"k", "n"}));
  ini.ReadSectionValues("sec", list);
  EXPECT_EQ(list, (Lines{"k=spaced value", "n=1"}));
  ini.ReadSections(list);
  EXPECT_EQ(list, (Lines{"Sec", "sec"}));
  EXPECT_FALSE(ini.Failed());
}

TEST_F(ProfileIniFileTest, EraseSectionAndDeleteKeyRewriteOnlyWhatTheyRemove) {
  Given("[A]\nk=1\nm=2\n[B]\nb=1\n");
  TProfileIniFile ini(Path());
  ini.DeleteKey("a", "K");
  ini.EraseSection("b");
  EXPECT_EQ(OnDisk(), "[A]\r\nm=2\r\n");

  Given("[A]\nk=1\n");
  ini.DeleteKey("A", "missing");
  ini.EraseSection("Missing");
  EXPECT_EQ(OnDisk(), "[A]\nk=1\n");
}

TEST_F(ProfileIniFileTest, AFailedWriteLeavesTheOldFileAsItWas) {
  const std::string old = "[A]\nk=1\n";
  Given(old);
  TProfileIniFile ini(Path());
  {
    test::FileSizeLimit limit(64);
    ini.WriteString("A", "big", std::string(1000, 'x'));
  }
  EXPECT_TRUE(ini.Failed());
  EXPECT_FALSE(ini.Error().empty());
  EXPECT_EQ(OnDisk(), old);
  EXPECT_EQ(folder_.Entries(), (std::set<std::string>{"config.ini"}));

  // The first failure stays reported even when later writes succeed.
  ini.WriteString("A", "k", "2");
  EXPECT_TRUE(ini.Failed());
  EXPECT_EQ(ini.ReadString("A", "k", "?"), "2");
}

TEST_F(ProfileIniFileTest, AFileInAMissingFolderFailsWithoutCreatingAnything) {
  TProfileIniFile ini(folder_.File("missing/config.ini"));
  ini.WriteString("A", "k", "1");
  EXPECT_TRUE(ini.Failed());
  EXPECT_TRUE(folder_.Entries().empty());
}

TEST_F(ProfileIniFileTest, AnUnreadableFileGivesDefaultsAndIsNotOverwritten) {
  std::filesystem::create_directory(Path());
  TProfileIniFile ini(Path());
  EXPECT_EQ(ini.ReadString("A", "k", "def"), "def");
  ini.WriteString("A", "k", "1");
  EXPECT_TRUE(ini.Failed());
  EXPECT_TRUE(std::filesystem::is_directory(Path()));
}

TEST_F(ProfileIniFileTest, RefusesLineBreaksThatWouldForgeOtherEntries) {
  Given("[A]\nk=1\n");
  TProfileIniFile ini(Path());
  ini.WriteString("A", "k", "2\r\n[B]\r\nx=1");
  EXPECT_TRUE(ini.Failed());
  EXPECT_EQ(OnDisk(), "[A]\nk=1\n");
}

struct SeparatorGuard {
  ~SeparatorGuard() { SetDecimalSeparator('\0'); }
};

TEST_F(ProfileIniFileTest, FloatsReadWithEitherSeparator) {
  SeparatorGuard restore;
  Given("[S]\npoint=0.55\ncomma=0,55\n");
  TProfileIniFile ini(Path());
  SetDecimalSeparator(',');
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "point", -1), 0.55);
  SetDecimalSeparator('.');
  EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "comma", -1), 0.55);
  ini.WriteFloat("S", "whole", 1275);
  EXPECT_EQ(ini.ReadString("S", "whole", ""), "1275");
}

// What the save routine writes, the load routine reads back through the in-memory store.
TEST_F(ProfileIniFileTest, WrittenFileReadsBackThroughTheInMemoryStore) {
  TProfileIniFile file(Path());
  file.WriteInteger("CONFIGURAZIONE", "TIPO CAMBIO", 1);
  file.WriteString("CONFIGURAZIONE", "TEMPO", "0.4");
  file.WriteInteger("COMANDI", "RIPROGRAMMAZIONE", 0);

  auto buffer = std::make_unique<TextBuffer>(TextBuffer::FromText(OnDisk()));
  TMemIniData ini(&buffer);
  EXPECT_EQ(ini.ReadInteger("configurazione", "tipo cambio", -1), 1);
  EXPECT_EQ(ini.ReadString("CONFIGURAZIONE", "TEMPO", ""), "0.4");
  EXPECT_EQ(ini.ReadInteger("COMANDI", "RIPROGRAMMAZIONE", -1), 0);
}

}  // namespace
}  // namespace vzt
