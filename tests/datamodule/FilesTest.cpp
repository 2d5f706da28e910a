#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "DataModuleFixture.h"
#include "components/translator/Translator.h"
#include "config/Container.h"
#include "platform/Library.h"

using namespace vzt;
using vzt::test::DataModuleTest;
namespace fs = std::filesystem;

namespace {

struct NoMessages : MessageSink {
  void ShowMessage(std::u16string_view, std::u16string_view) override {}
};

class FilesTest : public DataModuleTest {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("vzt_files_" + std::to_string(getpid()) + "_" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
    setenv("TMPDIR", folder.c_str(), 1);
    module->Translator()->SetDllName(ProgramFolder() + "/Dizionario/Languages.dll");
    module->Translator()->LoadLanguageLibrary();
    module->ResetAll();  // as the configuration window does when it is created
  }
  void TearDown() override {
    unsetenv("TMPDIR");
    fs::remove_all(folder);
  }

  std::string Decrypted(const fs::path& file) {
    TextBuffer buffer;
    EXPECT_TRUE(decrypt(file, buffer));
    return std::string(buffer.Text());
  }

  fs::path Encrypted(const std::string& text) {
    const fs::path plain = folder / "plain.ini", container = folder / "input.qcf";
    std::ofstream(plain, std::ios::binary) << text;
    NoMessages quiet;
    EXPECT_TRUE(encrypt(plain, container, quiet));
    fs::remove(plain);
    return container;
  }

  std::u16string Text(int id) { return module->Translator()->GetString(id, 0); }

  // Leftover files in the temporary folder other than those a test made itself.
  int StrayFiles() {
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder))
      n += e.path().filename().string().rfind("_tc", 0) == 0 ? 1 : 0;
    return n;
  }

  fs::path folder;
};

TEST_F(FilesTest, SavesEveryParameterInComponentOrderFromTheDefaults) {
  const fs::path file = folder / "defaults.qcf";
  ASSERT_TRUE(module->Save(file.string()));
  const std::string text = Decrypted(file);
  EXPECT_EQ(text.rfind("[CONFIGURAZIONE]\r\nTIPO ACCENSIONE=0\r\nTIPO SEGNALE GIRI=0\r\n"
                       "TIPO CAMBIO=1\r\nTEMPO DI SOVRAPPOSIZIONE=0.4\r\n",
                       0),
            0u);
  EXPECT_NE(text.find("\r\nGIRI FUORI GIRI=11700\r\n"), std::string::npos);
  const std::string tail = "[COMANDI]\r\nRIPROGRAMMAZIONE=0\r\n";
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  int lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  EXPECT_EQ(lines, 2 + 63 + 1);
  EXPECT_EQ(StrayFiles(), 0);
  ASSERT_EQ(host.waits.size(), 1u);
  EXPECT_EQ(host.waits[0]->caption, Text(95));
  EXPECT_EQ(host.waits[0]->message, Text(93));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FilesTest, SharedKeyHoldsTheSecondValueAndLoadsIntoBoth) {
  Online();
  ASSERT_TRUE(N("NPassiPrimoMagroPower").SetInt(3));
  ASSERT_TRUE(N("NPassiTestMagroPower").SetInt(5));
  const fs::path file = folder / "shared.qcf";
  ASSERT_TRUE(module->Save(file.string()));
  const std::string text = Decrypted(file);
  const std::string key = "NUMERO DI PASSI AL PRIMO MAGRO IN SBANANATA=";
  ASSERT_NE(text.find(key + "5\r\n"), std::string::npos);
  EXPECT_EQ(text.find(key, text.find(key) + 1), std::string::npos);
  // The key stands where the first of the two would be: after the previous parameter.
  EXPECT_LT(text.find("NUMERO DI PASSI AL PRIMO GRASSO IN SBANANATA="), text.find(key));
  EXPECT_LT(text.find(key), text.find("TPS INIZIO FASCIA SBANANATA="));

  ASSERT_TRUE(module->Load(file.string()));
  EXPECT_EQ(link.memory[214], 5);
  EXPECT_EQ(link.memory[211], 5);
}

TEST_F(FilesTest, LoadWritesGroupZeroFirstAndThresholdsWithTheNewScale) {
  Online();
  link.memory[163] = 0x08;
  const std::string text =
      "[CONFIGURAZIONE]\r\nTIPO ACCENSIONE=3\r\nTIPO CAMBIO=0\r\nRIFERIMENTO GIRI CAMBIO=2500\r\n"
      "GIRI CUTOFF=1500\r\nTEMPO DI CICCHETTO=0.6\r\n";
  std::string full = text;
  // Every other key as the defaults would have it, so that only these matter.
  {
    const fs::path defaults = folder / "d.qcf";
    ASSERT_TRUE(module->Save(defaults.string()));
    full = Decrypted(defaults);
    for (const char* k : {"TIPO ACCENSIONE=0", "TIPO CAMBIO=1", "RIFERIMENTO GIRI CAMBIO=2000",
                          "GIRI CUTOFF=1500", "TEMPO DI CICCHETTO=1"}) {
      const auto at = full.find(k);
      ASSERT_NE(at, std::string::npos) << k;
      full.erase(at, std::string(k).size() + 2);
    }
    full.insert(full.find("\r\n") + 2, text.substr(text.find("\r\n") + 2));
  }
  ASSERT_TRUE(module->Load(Encrypted(full).string())) << std::string(host.messages.empty() ? "" : "msg");
  EXPECT_EQ(link.memory[163] & 0x07, 3);
  EXPECT_EQ(link.memory[204], 39);  // 1500 RPM with the constant of ignition type 3
  EXPECT_EQ(link.memory[223], 23);  // the last write wins: 2500 RPM at 58500
  EXPECT_EQ(host.waits.back()->caption, Text(94));
  EXPECT_EQ(host.waits.back()->message, Text(92));
}

TEST_F(FilesTest, MissingKeyEndsItsPassButTheOtherPassRuns) {
  Online();
  const std::string text =
      "; no changeover mode\r\n[configurazione]\r\n  TIPO ACCENSIONE = 1\r\nTIPO SEGNALE GIRI=1\r\n"
      "GIRI CUTOFF=1500\r\n";
  EXPECT_FALSE(module->Load(Encrypted(text).string()));
  ASSERT_GE(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, u"It's impossible to read TipoCambio");
  EXPECT_EQ(host.messages[0].caption, Text(97));
  EXPECT_EQ(link.memory[163] & 0x07, 1);
  EXPECT_EQ(link.memory[164] & 0x10, 0x10);
  // Pass 1 stopped at its first parameter, whose key is missing too.
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, u"It's impossible to read GiriPerCambio");
}

TEST_F(FilesTest, UnreadableFilesChangeNothing) {
  Online();
  const fs::path garbage = folder / "garbage.qcf";
  std::ofstream(garbage, std::ios::binary) << "short";
  for (const fs::path& file : {folder / "missing.qcf", garbage}) {
    host.messages.clear();
    EXPECT_FALSE(module->Load(file.string()));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, Text(98));
    EXPECT_EQ(host.messages[0].caption, Text(97));
  }
  EXPECT_EQ(link.Count("Write"), 0);
  EXPECT_TRUE(host.waits.empty());
}

TEST_F(FilesTest, AFailedSaveKeepsThePreviousFile) {
  const fs::path file = folder / "kept.qcf";
  std::ofstream(file, std::ios::binary) << "previous";
  fs::create_directory(folder / "adir.qcf");
  for (const fs::path& target : {folder / "no" / "such" / "folder.qcf", folder / "adir.qcf"}) {
    host.messages.clear();
    EXPECT_FALSE(module->Save(target.string()));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, Text(96));
  }
  // The container cannot be written (no room in the folder's quota is hard to fake; a
  // target whose folder vanishes during the save is not): a plain refused target.
  EXPECT_EQ(StrayFiles(), 0);
  std::ifstream in(file, std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "previous");
}

TEST_F(FilesTest, PlainTextWorkFileIsPrivateWhileItExists) {
  // Catch the work file while the save is writing it: the wait window's progress runs then.
  struct stat seen {};
  bool looked = false;
  host.onProgress = [&] {
    for (const auto& e : fs::directory_iterator(folder))
      if (e.path().filename().string().rfind("_tc", 0) == 0 && !looked) {
        looked = ::stat(e.path().c_str(), &seen) == 0;
      }
  };
  ASSERT_TRUE(module->Save((folder / "private.qcf").string()));
  ASSERT_TRUE(looked);
  EXPECT_EQ(seen.st_mode & 0777, 0600u);
  EXPECT_EQ(StrayFiles(), 0);
}

}  // namespace
