#pragma once

#include <optional>
#include <string>

#include "ecusim/EcuMemory.h"

namespace vzt {

// The configuration memory kept in a file of exactly 256 bytes, byte n at address n.
class EepromFile {
 public:
  explicit EepromFile(std::string path) : path_(std::move(path)) {}

  const std::string& Path() const { return path_; }
  bool Exists() const;
  // Nothing, with the reason in error, when the file cannot be read or has the wrong size.
  std::optional<EcuMemory::Image> Load(std::string& error) const;
  // Writes a temporary file beside it and renames it over the old one, so that a reader
  // sees either the old contents or the new, and a failed save leaves the old file. No
  // fsync: the file is for looking at, and the reply must not wait for the disk.
  bool Save(const EcuMemory::Image& image, std::string& error) const;

 private:
  std::string path_;
};

}  // namespace vzt
