#include "ecusim/SimulatorProcess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "ecusim/ChildProcess.h"
#include "platform/Library.h"

namespace vzt {

namespace {
constexpr int kStartTimeoutMs = 20000;
constexpr int kStopTimeoutMs = 5000;
}  // namespace

std::string SimulatorProcess::ProgramPath() { return ProgramFolder() + "/ecusim"; }

std::string SimulatorProcess::MakeTemporaryFolder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/ecusim-XXXXXX";
  if (!::mkdtemp(pattern.data())) return {};
  return pattern;
}

std::vector<std::string> SimulatorProcess::Arguments(const std::string& link_path,
                                                     const std::vector<std::string>& extra) {
  std::vector<std::string> args{ProgramPath(), "--link", link_path};
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
  const int quiet = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  pid_ = SpawnChild(Arguments(link_path_, args), quiet);
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
  const auto status = ReapWithin(pid_, timeout_ms);
  if (status) pid_ = -1;
  return status;
}

std::optional<int> SimulatorProcess::Stop() {
  const auto status = StopChild(pid_, kStopTimeoutMs);
  pid_ = -1;
  return status;
}

}  // namespace vzt
