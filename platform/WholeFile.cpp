#include "platform/WholeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace vzt {

namespace {

std::string ErrnoText(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t n = ::write(fd, content.data(), content.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    content.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

mode_t ModeForReplacement(const std::string& path, unsigned newFileMode) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  return static_cast<mode_t>(newFileMode & 07777);
}

// Writes content to a fresh temporary file beside path; returns its name, or empty.
std::string WriteTemporarySibling(const std::string& path, std::string_view content,
                                  unsigned newFileMode, std::string& error) {
  std::string name = FolderOf(path) + "/." + BaseNameOf(path) + ".XXXXXX";
  std::vector<char> pattern(name.begin(), name.end());
  pattern.push_back('\0');
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) {
    error = ErrnoText("cannot create a temporary file beside", path);
    return {};
  }
  name = pattern.data();
  bool ok = WriteAll(fd, content) && ::fchmod(fd, ModeForReplacement(path, newFileMode)) == 0 &&
            ::fsync(fd) == 0;
  if (!ok) error = ErrnoText("cannot write", name);
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = ErrnoText("cannot close", name);
  }
  if (ok) return name;
  ::unlink(name.c_str());
  return {};
}

}  // namespace

FileReadResult ReadWholeFile(const std::string& path, std::size_t maxSize) {
  FileReadResult result;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.status = errno == ENOENT ? FileReadStatus::Missing : FileReadStatus::Failed;
    result.error = ErrnoText("cannot open", path);
    return result;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<unsigned long long>(st.st_size) > maxSize) {
    result.error = path + " is not a readable file of reasonable size";
    ::close(fd);
    return result;
  }
  char chunk[8192];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      result.error = ErrnoText("cannot read", path);
      ::close(fd);
      return result;
    }
    if (n == 0) break;
    result.content.append(chunk, static_cast<std::size_t>(n));
    if (result.content.size() > maxSize) {
      result.error = path + " grew too large while being read";
      ::close(fd);
      return result;
    }
  }
  ::close(fd);
  result.status = FileReadStatus::Ok;
  return result;
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error,
                         unsigned newFileMode) {
  if (path.empty()) {
    error = "no file name";
    return false;
  }
  const std::string temporary = WriteTemporarySibling(path, content, newFileMode, error);
  if (temporary.empty()) return false;
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = ErrnoText("cannot replace", path);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace vzt
