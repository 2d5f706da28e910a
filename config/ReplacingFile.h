#pragma once

#include "config/FileHandle.h"

#include <filesystem>
#include <span>

namespace vzt {

// Writes the new version of a file beside the old one and puts it in place only once it is
// complete, so that a failure at any point leaves the previous file as it was.
class ReplacingFile {
 public:
  explicit ReplacingFile(std::filesystem::path target);
  // Throws away a new version that was not committed.
  ~ReplacingFile();

  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the new version as a fresh file in the target's folder.
  bool Open();
  bool Write(std::span<const unsigned char> bytes);
  // Flushes the new version to disk and renames it over the target.
  bool Commit();

 private:
  bool TryCreate(unsigned attempt);
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  FileHandle file_;
};

}  // namespace vzt
