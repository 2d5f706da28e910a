// The simulator as a program: its options text, its link, its memory file, and its end.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "ecusim/EcuMemory.h"
#include "ecusim/ProgramRun.h"
#include "ecusim/SimulatorProcess.h"

namespace vzt {
namespace {


constexpr int kRunTimeoutMs = 20000;

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::string LinkTarget(const std::string& path) {
  std::error_code ec;
  return std::filesystem::read_symlink(path, ec).string();
}

TEST(EcuSimProgram, HelpNamesEveryOption) {
  const test::ProgramRun run = test::RunToEnd({SimulatorProcess::ProgramPath(), "--help"},
                                              kRunTimeoutMs);
  EXPECT_EQ(run.exit_code, 0);
  for (const char* option : {"--link", "--eeprom", "--kind", "--ident", "--layout", "--baud",
                             "--turnaround", "--drop-rate", "--corrupt-rate", "--silent",
                             "--refuse-session", "--unplug-after-ms", "--seed", "--help"}) {
    EXPECT_NE(run.output.find(std::string("  ") + option), std::string::npos) << option;
  }
}

TEST(EcuSimProgram, BadOptionEndsWithUsageError) {
  const test::ProgramRun run = test::RunToEnd({SimulatorProcess::ProgramPath(), "--layout", "7"},
                                              kRunTimeoutMs);
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.output.find("--layout"), std::string::npos);
}

TEST(EcuSimProgram, LinksAPseudoTerminalAndRemovesTheLinkOnTerm) {
  SimulatorProcess sim;
  ASSERT_TRUE(sim.Start());
  EXPECT_TRUE(LinkTarget(sim.LinkPath()).starts_with("/dev/pts/")) << LinkTarget(sim.LinkPath());
  const auto status = sim.Stop();
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
  EXPECT_FALSE(Exists(sim.LinkPath()));
  EXPECT_FALSE(Exists(sim.LinkPath() + ".lock"));
}

TEST(EcuSimProgram, SecondSimulatorDoesNotTakeARunningOnesLink) {
  SimulatorProcess first;
  ASSERT_TRUE(first.Start());
  const std::string target = LinkTarget(first.LinkPath());
  const test::ProgramRun second =
      test::RunToEnd(SimulatorProcess::Arguments(first.LinkPath(), {}), kRunTimeoutMs);
  EXPECT_EQ(second.exit_code, 1);
  EXPECT_NE(second.output.find("another simulator"), std::string::npos) << second.output;
  EXPECT_EQ(LinkTarget(first.LinkPath()), target);
}

TEST(EcuSimProgram, StaleLinkOfAKilledSimulatorIsTakenOver) {
  const SimulatorProcess place;  // only its folder
  const std::string link = place.LinkPath();
  ASSERT_EQ(::symlink("/dev/null", link.c_str()), 0);
  std::ofstream(link + ".lock").put('x');
  const test::ProgramRun run = test::RunToEnd(
      SimulatorProcess::Arguments(link, {"--unplug-after-ms", "0"}), kRunTimeoutMs);
  EXPECT_EQ(run.exit_code, 0) << run.output;
  EXPECT_NE(run.output.find("ecusim: device /dev/pts/"), std::string::npos) << run.output;
  EXPECT_FALSE(Exists(link));
}

TEST(EcuSimProgram, MemoryFileStartsWithTheFactoryContents) {
  const SimulatorProcess place;
  const test::ProgramRun run = test::RunToEnd(
      SimulatorProcess::Arguments(place.LinkPath(),
                               {"--eeprom", place.EepromPath(), "--unplug-after-ms", "0"}),
      kRunTimeoutMs);
  EXPECT_EQ(run.exit_code, 0) << run.output;
  std::ifstream in(place.EepromPath(), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  const EcuMemory::Image factory = EcuMemory::FactoryImage();
  EXPECT_EQ(bytes, std::string(factory.begin(), factory.end()));
}

TEST(EcuSimProgram, DamagedMemoryFileIsRefused) {
  const SimulatorProcess place;
  std::ofstream(place.EepromPath()) << "short";
  const test::ProgramRun run = test::RunToEnd(
      SimulatorProcess::Arguments(place.LinkPath(), {"--eeprom", place.EepromPath()}),
      kRunTimeoutMs);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.output.find("256 bytes"), std::string::npos) << run.output;
  EXPECT_FALSE(Exists(place.LinkPath()));
}

TEST(EcuSimProgram, UnpluggedDeviceDisappears) {
  SimulatorProcess sim;
  ASSERT_TRUE(sim.Start({"--unplug-after-ms", "200"}));
  const auto status = sim.WaitExit(kRunTimeoutMs);
  ASSERT_TRUE(status);
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
  EXPECT_FALSE(Exists(sim.LinkPath()));
}

// The simulator's parent ends without stopping it: it must end too, and tidy up.
TEST(EcuSimProgram, EndsWhenItsParentEnds) {
  ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);  // the orphan comes to us to be reaped
  const SimulatorProcess place;
  const std::string link = place.LinkPath();
  std::vector<std::string> args = SimulatorProcess::Arguments(link, {});
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int pid_pipe[2];
  ASSERT_EQ(::pipe(pid_pipe), 0);

  const pid_t parent = ::fork();
  if (parent == 0) {
    const pid_t sim = ::fork();
    if (sim == 0) {
      const int quiet = ::open("/dev/null", O_WRONLY);
      ::dup2(quiet, STDOUT_FILENO);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::write(pid_pipe[1], &sim, sizeof sim);
    for (int i = 0; i < 4000 && !Exists(link); ++i) ::usleep(5000);
    ::_exit(Exists(link) ? 0 : 1);
  }
  ::close(pid_pipe[1]);
  pid_t sim = -1;
  ASSERT_EQ(::read(pid_pipe[0], &sim, sizeof sim), static_cast<ssize_t>(sizeof sim));
  ::close(pid_pipe[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(parent, &status, 0), parent);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the simulator never started";

  // The simulator is now our child; it should end by itself.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  pid_t ended = 0;
  while (ended == 0 && std::chrono::steady_clock::now() < deadline) {
    ended = ::waitpid(sim, &status, WNOHANG);
    if (ended == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (ended != sim) {
    ::kill(sim, SIGKILL);
    ::waitpid(sim, &status, 0);
  }
  EXPECT_EQ(ended, sim);
  EXPECT_FALSE(Exists(link));
}

}  // namespace
}  // namespace vzt
