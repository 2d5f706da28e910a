#include "ecusim/PseudoTerminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vzt {

bool PseudoTerminal::Open(std::string& error) {
  controller_fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  char name[128] = {};
  if (controller_fd_ < 0 || ::grantpt(controller_fd_) != 0 || ::unlockpt(controller_fd_) != 0 ||
      ::ptsname_r(controller_fd_, name, sizeof name) != 0) {
    error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
    Close();
    return false;
  }
  device_path_ = name;
  device_fd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios tio{};
  if (device_fd_ < 0 || ::tcgetattr(device_fd_, &tio) != 0) {
    error = "cannot open " + device_path_ + ": " + std::strerror(errno);
    Close();
    return false;
  }
  ::cfmakeraw(&tio);
  ::tcsetattr(device_fd_, TCSANOW, &tio);
  // Replies must never block the simulator, not even when nobody reads them.
  ::fcntl(controller_fd_, F_SETFL, ::fcntl(controller_fd_, F_GETFL) | O_NONBLOCK);
  return true;
}

void PseudoTerminal::Close() {
  if (device_fd_ >= 0) ::close(device_fd_);
  if (controller_fd_ >= 0) ::close(controller_fd_);
  device_fd_ = controller_fd_ = -1;
}

}  // namespace vzt
