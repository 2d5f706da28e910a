#include "ecusim/SimulatorProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/Library.h"

namespace vzt::test {

namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kStopTimeoutMs = 5000;

std::vector<char*> Argv(std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  return argv;
}

// In the child between fork and exec: end with the test, and never run a test's code.
[[noreturn]] void ExecSimulator(std::vector<char*>& argv, pid_t test_pid, int out_fd) {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != test_pid) ::_exit(127);
  if (out_fd >= 0) {
    ::dup2(out_fd, STDOUT_FILENO);
    ::dup2(out_fd, STDERR_FILENO);
  }
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

std::optional<int> ReapWithin(pid_t pid, int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (true) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return status;
    if (done < 0) return std::nullopt;
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

std::string SimulatorProcess::ProgramPath() { return ProgramFolder() + "/ecusim"; }

std::string SimulatorProcess::MakeTemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/ecusim-test-XXXXXX";
  if (!::mkdtemp(pattern.data())) return {};
  return pattern;
}

std::vector<std::string> SimulatorArguments(const std::string& link_path,
                                            const std::vector<std::string>& extra) {
  std::vector<std::string> args{SimulatorProcess::ProgramPath(), "--link", link_path};
  args.insert(args.end(), extra.begin(), extra.end());
  return args;
}

SimulatorProcess::SimulatorProcess() : folder_(MakeTemporaryFolder()), link_path_(PathOf("link")) {}

SimulatorProcess::~SimulatorProcess() {
  Stop();
  std::error_code ec;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
}

bool SimulatorProcess::Start(const std::vector<std::string>& args) {
  if (folder_.empty() || pid_ > 0) return false;
  std::vector<std::string> all = SimulatorArguments(link_path_, args);
  std::vector<char*> argv = Argv(all);
  const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  const pid_t test_pid = ::getpid();
  pid_ = ::fork();
  if (pid_ == 0) ExecSimulator(argv, test_pid, quiet);
  if (quiet >= 0) ::close(quiet);
  started_ = pid_ > 0 && WaitForLink(kStartTimeoutMs);
  return started_;
}

bool SimulatorProcess::WaitForLink(int timeout_ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  struct stat st {};
  while (std::chrono::steady_clock::now() < deadline) {
    if (::lstat(link_path_.c_str(), &st) == 0) return true;
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

std::optional<int> SimulatorProcess::WaitExit(int timeout_ms) {
  if (pid_ <= 0) return std::nullopt;
  const auto status = ReapWithin(pid_, timeout_ms);
  if (status) pid_ = -1;
  return status;
}

std::optional<int> SimulatorProcess::Stop() {
  if (pid_ <= 0) return std::nullopt;
  ::kill(pid_, SIGTERM);
  auto status = ReapWithin(pid_, kStopTimeoutMs);
  if (!status) {
    ::kill(pid_, SIGKILL);
    status = ReapWithin(pid_, kStopTimeoutMs);
  }
  pid_ = -1;
  return status;
}

ProgramRun RunToEnd(const std::vector<std::string>& args, int timeout_ms) {
  ProgramRun run;
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return run;
  std::vector<std::string> all = args;
  std::vector<char*> argv = Argv(all);
  const pid_t test_pid = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) ExecSimulator(argv, test_pid, pipe_fds[1]);
  ::close(pipe_fds[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  char buffer[4096];
  while (pid > 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{pipe_fds[0], POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = ::read(pipe_fds[0], buffer, sizeof buffer);
    if (n <= 0) break;
    run.output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipe_fds[0]);
  if (pid <= 0) return run;
  auto status = ReapWithin(pid, timeout_ms);
  if (!status) {
    ::kill(pid, SIGKILL);
    status = ReapWithin(pid, kStopTimeoutMs);
  }
  if (status && WIFEXITED(*status)) run.exit_code = WEXITSTATUS(*status);
  return run;
}

}  // namespace vzt::test
