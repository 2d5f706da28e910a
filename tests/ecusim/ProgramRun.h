#pragma once

#include <string>
#include <vector>

namespace vzt::test {

struct ProgramRun {
  int exit_code = -1;  // -1 when it did not end normally in time
  std::string output;  // standard output and error together
};

// Runs a program (argv[0] is its path) to its end, at most timeout_ms.
ProgramRun RunToEnd(const std::vector<std::string>& argv, int timeout_ms);

}  // namespace vzt::test
