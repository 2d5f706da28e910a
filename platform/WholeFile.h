#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vzt {

// Whole-file reads and writes for the small files the program keeps: INI files, registry keys,
// the simulator's memory image.

enum class FileReadStatus { Ok, Missing, Failed };

struct FileReadResult {
  FileReadStatus status = FileReadStatus::Failed;
  std::string content;
  std::string error;
};

// Reads a regular file of at most maxSize bytes; a larger one is not one of ours and fails.
FileReadResult ReadWholeFile(const std::string& path, std::size_t maxSize);

// Replaces the file with content so that a reader sees either the old file or the new one,
// never a part: the text goes to a temporary file in the same folder, which is renamed over
// the target. A new file gets newFileMode, an existing one keeps its mode. On failure the
// target is untouched, no temporary file is left behind and error says why.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error,
                         unsigned newFileMode = 0644);

}  // namespace vzt
