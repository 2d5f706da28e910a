#include "components/storage/MemIniData.h"

#include "components/storage/IniText.h"
#include "platform/WholeFile.h"

namespace vzt {

TMemIniData::TMemIniData(std::unique_ptr<TextBuffer>* data) : data_(data) { LoadValues(); }

TMemIniData::~TMemIniData() { Clear(); }

void TMemIniData::LoadValues() {
  if (!data_ || !*data_) {
    Clear();
    return;
  }
  // Text() never reaches past the bytes present, whatever the length field claims.
  SetStrings(SplitLines((*data_)->Text()));
}

void TMemIniData::SetStrings(const TStrings& lines) {
  Clear();
  TSectionLines* current = nullptr;
  for (const std::string& line : lines) ParseLine(line, current);
}

void TMemIniData::ParseLine(std::string_view line, TSectionLines*& current) {
  line = TrimBlanks(line);
  if (line.empty() || line.front() == ';') return;
  if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
    current = &AddSection(std::string(TrimBlanks(line.substr(1, line.size() - 2))));
    return;
  }
  if (!current) return;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    current->Append({}, false, std::string(line));
    return;
  }
  std::string name(TrimBlanks(line.substr(0, equals)));
  std::string text = name + "=" + std::string(line.substr(equals + 1));
  current->Append(std::move(name), true, std::move(text));
}

TMemIniData::TSectionLines& TMemIniData::AddSection(const std::string& name) {
  TSectionLines lines;
  lines.SetCaseSensitive(CaseSensitive());
  return sections_.Append(name, true, std::move(lines));
}

TMemIniData::TSectionLines* TMemIniData::FindSection(const std::string& section) {
  const std::size_t i = sections_.Find(section);
  return i == sections_.npos ? nullptr : &sections_.At(i).value;
}

std::string TMemIniData::ReadString(const std::string& section, const std::string& name,
                                    const std::string& defaultValue) {
  const TSectionLines* lines = FindSection(section);
  if (!lines) return defaultValue;
  const std::size_t i = lines->Find(name);
  if (i == lines->npos) return defaultValue;
  const auto& line = lines->At(i);
  return line.value.substr(line.key.size() + 1);
}

void TMemIniData::WriteString(const std::string& section, const std::string& name,
                              const std::string& value) {
  TSectionLines* lines = FindSection(section);
  if (!lines) lines = &AddSection(section);
  std::string text = name + "=" + value;
  const std::size_t i = lines->Find(name);
  if (i == lines->npos)
    lines->Append(name, true, std::move(text));
  else
    lines->Replace(i, name, std::move(text));
}

void TMemIniData::ReadSection(const std::string& section, TStrings& names) {
  names.clear();
  if (const TSectionLines* lines = FindSection(section))
    for (const auto& line : *lines) names.push_back(line.key);
}

void TMemIniData::ReadSections(TStrings& sections) {
  sections.clear();
  for (const auto& section : sections_) sections.push_back(section.key);
}

void TMemIniData::ReadSectionValues(const std::string& section, TStrings& lines) {
  lines.clear();
  if (const TSectionLines* found = FindSection(section))
    for (const auto& line : *found) lines.push_back(line.value);
}

void TMemIniData::EraseSection(const std::string& section) {
  const std::size_t i = sections_.Find(section);
  if (i != sections_.npos) sections_.Erase(i);
}

void TMemIniData::DeleteKey(const std::string& section, const std::string& name) {
  TSectionLines* lines = FindSection(section);
  if (!lines) return;
  const std::size_t i = lines->Find(name);
  if (i != lines->npos) lines->Erase(i);
}

void TMemIniData::Clear() { sections_.Clear(); }

void TMemIniData::GetStrings(TStrings& lines) {
  for (const auto& section : sections_) {
    lines.push_back("[" + section.key + "]");
    for (const auto& line : section.value) lines.push_back(line.value);
    lines.emplace_back();
  }
}

void TMemIniData::UpdateFile() {
  if (!data_) return;
  TStrings lines;
  GetStrings(lines);
  *data_ = std::make_unique<TextBuffer>(TextBuffer::FromText(JoinLinesCrLf(lines)));
}

bool TMemIniData::SaveToFile(const std::string& fileName) {
  TStrings lines;
  GetStrings(lines);
  std::string error;
  return WriteFileAtomically(fileName, JoinLinesCrLf(lines), error);
}

void TMemIniData::SetCaseSensitive(bool value) {
  sections_.SetCaseSensitive(value);
  for (std::size_t i = 0; i < sections_.Size(); ++i) sections_.At(i).value.SetCaseSensitive(value);
}

}  // namespace vzt
