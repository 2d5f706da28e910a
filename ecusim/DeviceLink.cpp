#include "ecusim/DeviceLink.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vzt {

namespace {
std::string Reason() { return std::strerror(errno); }
}  // namespace

bool DeviceLink::PreparePrivateFolder(const std::string& folder, std::string& error) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    error = "cannot create " + folder + ": " + Reason();
    return false;
  }
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
      (st.st_mode & 077) != 0) {
    error = folder + " is not a private folder of this user";
    return false;
  }
  return true;
}

bool DeviceLink::Create(const std::string& link_path, const std::string& device,
                        std::string& error) {
  Remove();
  lock_path_ = link_path + ".lock";
  lock_fd_ = ::open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (lock_fd_ < 0) {
    error = "cannot create " + lock_path_ + ": " + Reason();
    return false;
  }
  if (::flock(lock_fd_, LOCK_EX | LOCK_NB) != 0) {
    error = "another simulator uses " + link_path + " (choose another link with --link)";
    ::close(lock_fd_);
    lock_fd_ = -1;
    return false;
  }
  // A new link goes up beside the old one and replaces it in one step.
  const std::string temporary = link_path + ".new" + std::to_string(::getpid());
  ::unlink(temporary.c_str());
  if (::symlink(device.c_str(), temporary.c_str()) != 0 ||
      ::rename(temporary.c_str(), link_path.c_str()) != 0) {
    error = "cannot link " + link_path + ": " + Reason();
    ::unlink(temporary.c_str());
    ::unlink(lock_path_.c_str());
    ::close(lock_fd_);
    lock_fd_ = -1;
    return false;
  }
  link_path_ = link_path;
  return true;
}

void DeviceLink::Remove() {
  if (lock_fd_ < 0) return;
  ::unlink(link_path_.c_str());
  ::unlink(lock_path_.c_str());
  ::close(lock_fd_);
  lock_fd_ = -1;
  link_path_.clear();
}

}  // namespace vzt
