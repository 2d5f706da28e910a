// vzt905-cli run as a program, offline and against the simulator.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../ecusim/ProgramRun.h"
#include "ecusim/SimulatorProcess.h"
#include "platform/Library.h"

using namespace vzt;
using vzt::test::ProgramRun;
using vzt::test::RunToEnd;

namespace {

constexpr int kTimeoutMs = 60000;

ProgramRun Cli(std::vector<std::string> args) {
  args.insert(args.begin(), ProgramFolder() + "/vzt905-cli");
  return RunToEnd(args, kTimeoutMs);
}

int CountLines(const std::string& text, const std::string& prefix = "") {
  int n = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = text.find('\n', at);
    const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    n += line.rfind(prefix, 0) == 0 ? 1 : 0;
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return n;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = SimulatorProcess::MakeTemporaryFolder();
    // A configuration folder of its own, so that no stored language is read.
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(folder);
  }
  std::string Path(const std::string& name) const { return folder + "/" + name; }

  std::string folder;
};

TEST_F(CliTest, UsageMistakesRunNothing) {
  struct Case {
    std::vector<std::string> args;
    int exit;
  };
  const Case cases[] = {
      {{}, 2},
      {{"bogus"}, 2},
      {{"--offline", "set", "GiriCutOff"}, 2},
      {{"--offline", "dump", "--format", "xml"}, 2},
      {{"--offline", "live", "--count", "0"}, 2},
      {{"--device"}, 2},
      {{"--offline", "get", "GiriCutOff", "bogus"}, 2},
      {{"--help"}, 0},
      {{"--offline", "info", "--help"}, 0},
  };
  for (const Case& c : cases) {
    const ProgramRun run = Cli(c.args);
    EXPECT_EQ(run.exit_code, c.exit) << run.output;
    EXPECT_TRUE(Contains(run.output, "usage: vzt905-cli")) << run.output;
  }
}

TEST_F(CliTest, OfflineEditsStayInTheProgram) {
  ProgramRun run = Cli({"--offline", "set", "GiriCutOff", "2000", "get", "giri cutoff"});
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_TRUE(Contains(run.output, "GiriCutOff = 2000 RPM\n2000 RPM\n")) << run.output;

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--offline", "set", "GiriCutOff", "fast"},
        std::vector<std::string>{"--offline", "set", "NoSuchThing", "1"},
        std::vector<std::string>{"--offline", "get", "NoSuchThing"}}) {
    run = Cli(bad);
    EXPECT_EQ(run.exit_code, 1) << run.output;
    EXPECT_TRUE(Contains(run.output, "error: ")) << run.output;
  }
}

TEST_F(CliTest, DumpIniIsTheTextASaveEncrypts) {
  const ProgramRun dump = Cli({"--offline", "dump", "--format", "ini"});
  ASSERT_EQ(dump.exit_code, 0);
  EXPECT_EQ(dump.output.rfind("[CONFIGURAZIONE]\r\nTIPO ACCENSIONE=0\r\n", 0), 0u);
  EXPECT_TRUE(Contains(dump.output, "GIRI FUORI GIRI=11700\r\n"));
  EXPECT_EQ(CountLines(dump.output), 66);

  ASSERT_EQ(Cli({"--offline", "save", Path("a.qcf")}).exit_code, 0);
  const ProgramRun plain = Cli({"decrypt", Path("a.qcf")});
  ASSERT_EQ(plain.exit_code, 0);
  EXPECT_EQ(plain.output, dump.output);
}

TEST_F(CliTest, FilesAreEditedWithoutAController) {
  ASSERT_EQ(Cli({"--offline", "save", Path("a.qcf")}).exit_code, 0);
  const ProgramRun edit = Cli({"--offline", "load", Path("a.qcf"), "set", "GiriCutOff", "2000",
                               "set", "TEMPO DI SOVRAPPOSIZIONE", "0,6", "save", Path("b.qcf")});
  ASSERT_EQ(edit.exit_code, 0) << edit.output;
  const ProgramRun diff = Cli({"diff", Path("a.qcf"), Path("b.qcf")});
  EXPECT_EQ(diff.exit_code, 0);
  EXPECT_TRUE(Contains(diff.output, "GiriCutOff (GIRI CUTOFF): 1500 -> 2000\n")) << diff.output;
  EXPECT_TRUE(Contains(diff.output, "TempoSovrapposizione (TEMPO DI SOVRAPPOSIZIONE): 0.4 -> 0.6\n"));
  EXPECT_TRUE(Contains(diff.output, "2 parameter(s) differ"));
}

TEST_F(CliTest, EncryptAndDecryptRoundTrip) {
  const std::string text = "[CONFIGURAZIONE]\r\nGIRI CUTOFF=2000\r\n";
  std::ofstream(Path("plain.ini"), std::ios::binary) << text;
  ASSERT_EQ(Cli({"encrypt", Path("plain.ini"), Path("c.qcf")}).exit_code, 0);
  EXPECT_EQ(Cli({"decrypt", Path("c.qcf")}).output, text);
  const ProgramRun missing = Cli({"decrypt", Path("missing.qcf")});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_TRUE(Contains(missing.output, "error: "));
}

// ------------------------------------------------------------ against the simulator

class CliControllerTest : public CliTest {
 protected:
  void Start(std::vector<std::string> args = {}) {
    args.insert(args.end(), {"--eeprom", simulator.EepromPath()});
    ASSERT_TRUE(simulator.Start(args));
  }
  ProgramRun Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--device", simulator.LinkPath()});
    return Cli(args);
  }
  SimulatorProcess simulator;
};

TEST_F(CliControllerTest, InfoAndDumpReadTheController) {
  Start();
  const ProgramRun info = Run({"info"});
  ASSERT_EQ(info.exit_code, 0) << info.output;
  EXPECT_TRUE(Contains(info.output, "identification: 08 24 18 00 00 00\n"));
  EXPECT_TRUE(Contains(info.output, "port: USB\n"));
  EXPECT_TRUE(Contains(info.output, "library: 4.10.0."));

  const ProgramRun dump = Run({"dump"});
  ASSERT_EQ(dump.exit_code, 0);
  EXPECT_EQ(CountLines(dump.output, "NAME "), 1);
  for (const char* name : {"TipoAccensione ", "GiriCutOff ", "Riprogrammazione ", "TempoRetropassaggio "})
    EXPECT_EQ(CountLines(dump.output, name), 1) << name;
}

TEST_F(CliControllerTest, SetSaveAndLoadReachTheControllersMemory) {
  Start();
  ASSERT_EQ(Run({"set", "GiriCutOff", "2000", "save", Path("a.qcf")}).exit_code, 0);
  ASSERT_EQ(Run({"set", "GiriCutOff", "1000"}).exit_code, 0);
  EXPECT_TRUE(Contains(Run({"get", "GiriCutOff"}).output, "1000 RPM"));
  ASSERT_EQ(Run({"load", Path("a.qcf")}).exit_code, 0);
  EXPECT_TRUE(Contains(Run({"get", "GiriCutOff"}).output, "2000 RPM"));
}

TEST_F(CliControllerTest, LivePrintsThePanelLines) {
  Start();
  const ProgramRun live = Run({"live", "--count", "2"});
  ASSERT_EQ(live.exit_code, 0) << live.output;
  EXPECT_EQ(CountLines(live.output, "Giri "), 2) << live.output;
  EXPECT_TRUE(Contains(live.output, " RPM | Temperatura "));
}

TEST_F(CliControllerTest, OtherControllersFailWithAMessage) {
  Start({"--kind", "9"});
  const ProgramRun run = Run({"info"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(Contains(run.output, "error: ")) << run.output;
}

}  // namespace
