#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vzt {

// Small text helpers shared by the INI stores. Texts are 8-bit; letter case is folded for
// ASCII letters only, as the code page of a configuration file is not known.

// INI files of this program are small; anything larger is not one of ours.
constexpr std::size_t kMaxIniFileSize = 16 * 1024 * 1024;

// Removes every leading and trailing character whose code is 32 or lower.
std::string_view TrimBlanks(std::string_view text);

// Breaks text at every CR LF pair, lone CR or lone LF; a last line without a line end
// counts as a line, an empty text gives no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Joins lines with CR LF after each line, the last one included.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

std::string LowerAscii(std::string_view text);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vzt
