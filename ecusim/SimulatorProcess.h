#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace vzt {

// ecusim as a child process, linked in a temporary folder of its own, for tests and
// benchmarks. The destructor always stops and reaps it and removes the folder.
class SimulatorProcess {
 public:
  // Makes the simulator's temporary folder.
  SimulatorProcess();
  ~SimulatorProcess();
  SimulatorProcess(const SimulatorProcess&) = delete;
  SimulatorProcess& operator=(const SimulatorProcess&) = delete;

  // Starts the simulator from the program's own folder with --link in its folder and the
  // given arguments, and waits until its link appears.
  bool Start(const std::vector<std::string>& args = {});
  bool Started() const { return started_; }
  pid_t Pid() const { return pid_; }
  const std::string& Folder() const { return folder_; }
  const std::string& LinkPath() const { return link_path_; }
  // A path in the simulator's folder.
  std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }
  std::string EepromPath() const { return PathOf("memory.bin"); }

  // Waits for the simulator to end by itself; its wait status, or nothing on time-out.
  std::optional<int> WaitExit(int timeout_ms);
  // SIGTERM, then SIGKILL if it does not end in time; its wait status.
  std::optional<int> Stop();

  // ecusim beside the running program.
  static std::string ProgramPath();
  static std::string MakeTemporaryFolder();
  // The full argument list: the program, --link LINK, then extra.
  static std::vector<std::string> Arguments(const std::string& link_path,
                                            const std::vector<std::string>& extra);

 private:
  bool WaitForLink(int timeout_ms);

  std::string folder_;
  std::string link_path_;
  pid_t pid_ = -1;
  bool started_ = false;
};

}  // namespace vzt
