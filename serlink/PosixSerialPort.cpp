#include "serlink/PosixSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

namespace vzt {

namespace {

// A write that cannot get rid of its bytes in this time means the device is stuck or gone.
constexpr int kWriteStallMs = 1000;

bool SpeedFor(int baud, speed_t& speed) {
  switch (baud) {
    case 9600: speed = B9600; return true;
    case 19200: speed = B19200; return true;
    case 38400: speed = B38400; return true;
    case 57600: speed = B57600; return true;
    case 115200: speed = B115200; return true;
    default: return false;
  }
}

}  // namespace

PosixSerialPort::~PosixSerialPort() { Close(); }

bool PosixSerialPort::Open(const std::string& device, int baud) {
  Close();
  fd_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return false;
  if (!::isatty(fd_) || !ConfigureRaw(baud)) {
    Close();
    return false;
  }
  // Keeps a second program off the line while we use it; not every device supports it.
  ::ioctl(fd_, TIOCEXCL);
  DiscardInput();
  return true;
}

void PosixSerialPort::Close() {
  if (fd_ < 0) return;
  // The exclusive mode outlives this descriptor while anyone else keeps the device open;
  // it must not lock us out of our own next open.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

bool PosixSerialPort::ConfigureRaw(int baud) {
  speed_t speed{};
  if (!SpeedFor(baud, speed)) return false;
  termios tio{};
  if (::tcgetattr(fd_, &tio) != 0) return false;
  ::cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  ::cfsetispeed(&tio, speed);
  ::cfsetospeed(&tio, speed);
  return ::tcsetattr(fd_, TCSANOW, &tio) == 0;
}

bool PosixSerialPort::SetBaud(int baud) { return IsOpen() && ConfigureRaw(baud); }

void PosixSerialPort::DiscardInput() {
  if (IsOpen()) ::tcflush(fd_, TCIFLUSH);
}

bool PosixSerialPort::WaitWritable() {
  pollfd p{fd_, POLLOUT, 0};
  int ready = 0;
  do {
    ready = ::poll(&p, 1, kWriteStallMs);
  } while (ready < 0 && errno == EINTR);
  return ready > 0 && (p.revents & POLLOUT) && !(p.revents & (POLLERR | POLLHUP | POLLNVAL));
}

bool PosixSerialPort::Write(std::span<const std::uint8_t> bytes) {
  if (!IsOpen()) return false;
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + sent, bytes.size() - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {
      if (!WaitWritable()) return false;
    } else {
      return false;
    }
  }
  return true;
}

int PosixSerialPort::Read(std::span<std::uint8_t> into, int timeout_ms) {
  if (!IsOpen()) return kDeviceLost;
  if (into.empty()) return 0;
  pollfd p{fd_, POLLIN, 0};
  const int ready = ::poll(&p, 1, timeout_ms < 0 ? 0 : timeout_ms);
  if (ready < 0) return errno == EINTR ? 0 : kDeviceLost;
  if (ready == 0) return 0;
  if (p.revents & POLLIN) {
    const ssize_t n = ::read(fd_, into.data(), into.size());
    if (n > 0) return static_cast<int>(n);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
    return kDeviceLost;
  }
  return kDeviceLost;
}

}  // namespace vzt
