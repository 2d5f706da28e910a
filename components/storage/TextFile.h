#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vzt {

// Whole-file reads and writes for the INI stores.

enum class FileReadStatus { Ok, Missing, Failed };

struct FileReadResult {
  FileReadStatus status = FileReadStatus::Failed;
  std::string content;
  std::string error;
};

// INI files of this program are small; anything larger is not one of ours.
constexpr std::size_t kMaxIniFileSize = 16 * 1024 * 1024;

// Reads a regular file of at most kMaxIniFileSize bytes.
FileReadResult ReadWholeFile(const std::string& path);

// Replaces the file with content so that a reader sees either the old file or the new one,
// never a part: the text goes to a temporary file in the same folder, which is renamed over
// the target. A new file gets mode 0644, an existing one keeps its mode. On failure the
// target is untouched, no temporary file is left behind and error says why.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);

}  // namespace vzt
