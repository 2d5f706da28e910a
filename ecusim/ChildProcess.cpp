#include "ecusim/ChildProcess.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace vzt {

pid_t SpawnChild(std::vector<std::string> argv, int output_fd) {
  if (argv.empty()) return -1;
  std::vector<char*> pointers;
  for (std::string& arg : argv) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  // The child: end with the parent, and never run any of the parent's code.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != parent) ::_exit(127);
  if (output_fd >= 0) {
    ::dup2(output_fd, STDOUT_FILENO);
    ::dup2(output_fd, STDERR_FILENO);
  }
  ::execv(pointers[0], pointers.data());
  ::_exit(127);
}

std::optional<int> ReapWithin(pid_t pid, int timeout_ms) {
  if (pid <= 0) return std::nullopt;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (true) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return status;
    if (done < 0 || std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::optional<int> StopChild(pid_t pid, int timeout_ms) {
  if (pid <= 0) return std::nullopt;
  ::kill(pid, SIGTERM);
  if (auto status = ReapWithin(pid, timeout_ms)) return status;
  ::kill(pid, SIGKILL);
  return ReapWithin(pid, timeout_ms);
}

}  // namespace vzt
