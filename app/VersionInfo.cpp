#include "app/VersionInfo.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "app/ElfSection.h"

namespace vzt {

namespace {

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::string_view NextWord(std::string_view& text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  std::size_t end = 0;
  while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
  std::string_view word = text.substr(0, end);
  text.remove_prefix(end);
  return word;
}

// One 16-bit word written in hexadecimal.
std::optional<unsigned> HexWord(std::string_view word) {
  unsigned value = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
  if (word.empty() || ec != std::errc() || end != word.data() + word.size() || value > 0xFFFF)
    return std::nullopt;
  return value;
}

}  // namespace

bool VersionInfo::Parse(std::string_view block) {
  values_.clear();
  block = block.substr(0, block.find('\0'));
  if (NextLine(block) != kHeaderLine) return false;
  while (!block.empty()) {
    const std::string_view line = NextLine(block);
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) continue;
    values_.emplace_back(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
  }
  return true;
}

std::optional<std::string> VersionInfo::Value(std::string_view path) const {
  for (const auto& [name, value] : values_)
    if (SameText(name, path)) return value;
  return std::nullopt;
}

std::optional<std::string> VersionInfo::FirstTranslation() const {
  const std::optional<std::string> list = Value("\\VarFileInfo\\Translation");
  if (!list) return std::nullopt;
  std::string_view words = *list;
  const std::optional<unsigned> language = HexWord(NextWord(words));
  const std::optional<unsigned> codePage = HexWord(NextWord(words));
  if (!language || !codePage) return std::nullopt;
  char digits[9];
  std::snprintf(digits, sizeof digits, "%04x%04x", *language, *codePage);
  return std::string(digits);
}

std::string VersionInfo::FileVersionText() const {
  const std::optional<std::string> translation = FirstTranslation();
  if (!translation) return kNotAvailable;
  const std::optional<std::string> version = Value("\\StringFileInfo\\" + *translation + "\\FileVersion");
  return version && !version->empty() ? *version : kNotAvailable;
}

std::string VersionInfo::FileVersionOf(const std::string& path) {
  const std::optional<std::string> block = ReadElfSection(path, kSectionName, kMaxBlockSize);
  VersionInfo info;
  if (!block || !info.Parse(*block)) return kNotAvailable;
  return info.FileVersionText();
}

std::string VersionInfo::ProgramFileVersion() { return FileVersionOf("/proc/self/exe"); }

}  // namespace vzt
