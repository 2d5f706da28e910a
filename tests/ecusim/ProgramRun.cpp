#include "ecusim/ProgramRun.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "ecusim/ChildProcess.h"

namespace vzt::test {

namespace {

std::string ReadUntilClosed(int fd, std::chrono::steady_clock::time_point deadline) {
  std::string output;
  char buffer[4096];
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    output.append(buffer, static_cast<std::size_t>(n));
  }
  return output;
}

}  // namespace

ProgramRun RunToEnd(const std::vector<std::string>& argv, int timeout_ms) {
  ProgramRun run;
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return run;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  const pid_t pid = SpawnChild(argv, pipe_fds[1]);
  ::close(pipe_fds[1]);
  if (pid > 0) run.output = ReadUntilClosed(pipe_fds[0], deadline);
  ::close(pipe_fds[0]);
  auto status = ReapWithin(pid, timeout_ms);
  if (!status) status = StopChild(pid, timeout_ms);
  if (status && WIFEXITED(*status)) run.exit_code = WEXITSTATUS(*status);
  return run;
}

}  // namespace vzt::test
