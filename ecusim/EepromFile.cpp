#include "ecusim/EepromFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vzt {

namespace {

std::string Reason(const std::string& what) { return what + ": " + std::strerror(errno); }

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

bool EepromFile::Exists() const {
  struct stat st {};
  return ::stat(path_.c_str(), &st) == 0;
}

std::optional<EcuMemory::Image> EepromFile::Load(std::string& error) const {
  const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Reason("cannot open " + path_);
    return std::nullopt;
  }
  EcuMemory::Image image{};
  std::size_t got = 0;
  std::uint8_t extra = 0;
  bool failed = false;
  while (got < image.size()) {
    const ssize_t n = ::read(fd, image.data() + got, image.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failed = true;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  const bool longer = !failed && got == image.size() && ::read(fd, &extra, 1) > 0;
  ::close(fd);
  if (failed) {
    error = Reason("cannot read " + path_);
    return std::nullopt;
  }
  if (got != image.size() || longer) {
    error = path_ + ": not a memory image (it must hold exactly 256 bytes)";
    return std::nullopt;
  }
  return image;
}

bool EepromFile::Save(const EcuMemory::Image& image, std::string& error) const {
  const std::string temporary = path_ + ".tmp" + std::to_string(::getpid());
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = Reason("cannot create " + temporary);
    return false;
  }
  const bool written = WriteAll(fd, image.data(), image.size());
  const bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temporary.c_str(), path_.c_str()) != 0) {
    error = Reason("cannot save " + path_);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace vzt
