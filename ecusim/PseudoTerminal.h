#pragma once

#include <string>

namespace vzt {

// The controller's end of a pseudo-terminal. It also keeps the device end open, so that
// the line stays up while no program has it open, and sets it raw until a program
// configures it.
class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  ~PseudoTerminal() { Close(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool Open(std::string& error);
  // Both ends closed: the device disappears.
  void Close();

  int ControllerFd() const { return controller_fd_; }
  const std::string& DevicePath() const { return device_path_; }

 private:
  int controller_fd_ = -1;
  int device_fd_ = -1;
  std::string device_path_;
};

}  // namespace vzt
