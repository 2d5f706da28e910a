#include "config/ReplacingFile.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vzt {
namespace {

constexpr unsigned kCreateAttempts = 100;

std::string UniqueSuffix(unsigned attempt) {
  const auto now = static_cast<unsigned long long>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  const unsigned long long value = now ^ (0x9E3779B97F4A7C15ull * (attempt + 1));
  char digits[17] = {};
  const auto result = std::to_chars(digits, digits + 16, value, 16);
  return std::string(digits, result.ptr);
}

bool SyncToDisk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
#ifdef _WIN32
  return true;
#else
  return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {}

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Open() {
  if (file_ || !target_.has_filename()) return false;
  for (unsigned attempt = 0; attempt < kCreateAttempts; ++attempt) {
    if (TryCreate(attempt)) return true;
    if (errno != EEXIST) return false;
  }
  return false;
}

// Exclusive creation, so that a file someone else is writing is never taken over.
bool ReplacingFile::TryCreate(unsigned attempt) {
  std::filesystem::path candidate = target_;
  candidate += "." + UniqueSuffix(attempt) + ".tmp";
  errno = 0;
  file_ = OpenFile(candidate, "wbx");
  if (!file_) return false;
  temporary_ = std::move(candidate);
  return true;
}

bool ReplacingFile::Write(std::span<const unsigned char> bytes) {
  if (!file_) return false;
  return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) == bytes.size();
}

bool ReplacingFile::Commit() {
  if (!file_) return false;
  const bool synced = SyncToDisk(file_.get());
  const bool closed = std::fclose(file_.release()) == 0;
  std::error_code error;
  if (synced && closed) std::filesystem::rename(temporary_, target_, error);
  if (!synced || !closed || error) {
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

void ReplacingFile::Discard() {
  file_.reset();
  if (temporary_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(temporary_, ignored);
  temporary_.clear();
}

}  // namespace vzt
