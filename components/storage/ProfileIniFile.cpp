#include "components/storage/ProfileIniFile.h"

#include "components/storage/IniText.h"
#include "platform/WholeFile.h"

namespace vzt {

namespace {

struct SectionRange {
  std::size_t header;
  std::size_t end;  // the next section's header, or the number of lines
};

struct KeyLine {
  std::string_view name;
  std::string_view value;
};

std::optional<std::string_view> SectionNameOf(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

std::optional<KeyLine> KeyLineOf(std::string_view line) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() == ';' || SectionNameOf(line)) return std::nullopt;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return KeyLine{TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1))};
}

std::size_t NextHeader(const TStrings& lines, std::size_t from) {
  while (from < lines.size() && !SectionNameOf(lines[from])) ++from;
  return from;
}

std::optional<SectionRange> FindSection(const TStrings& lines, std::string_view section) {
  for (std::size_t i = NextHeader(lines, 0); i < lines.size(); i = NextHeader(lines, i + 1))
    if (SameTextIgnoringCase(*SectionNameOf(lines[i]), section))
      return SectionRange{i, NextHeader(lines, i + 1)};
  return std::nullopt;
}

std::optional<std::size_t> FindKey(const TStrings& lines, SectionRange range,
                                   std::string_view name) {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto key = KeyLineOf(lines[i]);
    if (key && SameTextIgnoringCase(key->name, name)) return i;
  }
  return std::nullopt;
}

// Where a new key goes: after the section's last line that is not blank, so that blank
// lines separating it from the next section stay where they are.
std::size_t EndOfContent(const TStrings& lines, SectionRange range) {
  std::size_t last = range.header;
  for (std::size_t i = range.header + 1; i < range.end; ++i)
    if (!TrimBlanks(lines[i]).empty()) last = i;
  return last + 1;
}

bool HoldsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

TProfileIniFile::TProfileIniFile(std::string fileName) : file_name_(std::move(fileName)) {}

std::optional<TStrings> TProfileIniFile::Load() {
  FileReadResult read = ReadWholeFile(file_name_, kMaxIniFileSize);
  if (read.status == FileReadStatus::Missing) return TStrings{};
  if (read.status == FileReadStatus::Failed) {
    NoteFailure(read.error);
    return std::nullopt;
  }
  return SplitLines(read.content);
}

bool TProfileIniFile::Store(const TStrings& lines) {
  std::string error;
  if (WriteFileAtomically(file_name_, JoinLinesCrLf(lines), error)) return true;
  NoteFailure(error);
  return false;
}

void TProfileIniFile::NoteFailure(const std::string& error) {
  if (error_.empty()) error_ = error;
}

std::string TProfileIniFile::ReadString(const std::string& section, const std::string& name,
                                        const std::string& defaultValue) {
  const auto lines = Load();
  if (!lines) return defaultValue;
  const auto range = FindSection(*lines, section);
  if (!range) return defaultValue;
  const auto at = FindKey(*lines, *range, name);
  if (!at) return defaultValue;
  return std::string(KeyLineOf((*lines)[*at])->value);
}

void TProfileIniFile::WriteString(const std::string& section, const std::string& name,
                                  const std::string& value) {
  // A line break would cut the entry in two and could forge other keys.
  if (HoldsLineBreak(section) || HoldsLineBreak(name) || HoldsLineBreak(value)) {
    NoteFailure("line break in the entry " + name + " of " + file_name_);
    return;
  }
  auto lines = Load();
  if (!lines) return;
  const auto range = FindSection(*lines, section);
  if (!range) {
    lines->push_back("[" + section + "]");
    lines->push_back(name + "=" + value);
  } else if (const auto at = FindKey(*lines, *range, name)) {
    std::string& line = (*lines)[*at];
    line = std::string(KeyLineOf(line)->name) + "=" + value;
  } else {
    const auto insertAt = static_cast<std::ptrdiff_t>(EndOfContent(*lines, *range));
    lines->insert(lines->begin() + insertAt, name + "=" + value);
  }
  Store(*lines);
}

void TProfileIniFile::ReadSection(const std::string& section, TStrings& names) {
  names.clear();
  const auto lines = Load();
  if (!lines) return;
  const auto range = FindSection(*lines, section);
  if (!range) return;
  for (std::size_t i = range->header + 1; i < range->end; ++i)
    if (const auto key = KeyLineOf((*lines)[i])) names.emplace_back(key->name);
}

void TProfileIniFile::ReadSections(TStrings& sections) {
  sections.clear();
  const auto lines = Load();
  if (!lines) return;
  for (const std::string& line : *lines)
    if (const auto name = SectionNameOf(line)) sections.emplace_back(*name);
}

void TProfileIniFile::ReadSectionValues(const std::string& section, TStrings& values) {
  values.clear();
  const auto lines = Load();
  if (!lines) return;
  const auto range = FindSection(*lines, section);
  if (!range) return;
  for (std::size_t i = range->header + 1; i < range->end; ++i)
    if (const auto key = KeyLineOf((*lines)[i]))
      values.push_back(std::string(key->name) + "=" + std::string(key->value));
}

void TProfileIniFile::EraseSection(const std::string& section) {
  auto lines = Load();
  if (!lines) return;
  const auto range = FindSection(*lines, section);
  if (!range) return;
  lines->erase(lines->begin() + static_cast<std::ptrdiff_t>(range->header),
               lines->begin() + static_cast<std::ptrdiff_t>(range->end));
  Store(*lines);
}

void TProfileIniFile::DeleteKey(const std::string& section, const std::string& name) {
  auto lines = Load();
  if (!lines) return;
  const auto range = FindSection(*lines, section);
  if (!range) return;
  const auto at = FindKey(*lines, *range, name);
  if (!at) return;
  lines->erase(lines->begin() + static_cast<std::ptrdiff_t>(*at));
  Store(*lines);
}

void TProfileIniFile::UpdateFile() {}

}  // namespace vzt
