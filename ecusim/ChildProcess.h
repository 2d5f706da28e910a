#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vzt {

// Starts a program (argv[0] is its path) as a child that ends when this process ends.
// Its standard output and error go to output_fd when that is not negative. -1 on failure.
pid_t SpawnChild(std::vector<std::string> argv, int output_fd);

// Waits for a child to end; its wait status, or nothing when it does not end in time.
std::optional<int> ReapWithin(pid_t pid, int timeout_ms);

// SIGTERM, then SIGKILL if the child does not end in time; its wait status.
std::optional<int> StopChild(pid_t pid, int timeout_ms);

}  // namespace vzt
