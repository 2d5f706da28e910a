#include "CustomIniFile.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <strings.h>

#include "platform/NumberText.h"

namespace vzt {

namespace {
bool SameTextIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}
}  // namespace

bool TextToInt(const std::string& text, int& value) {
  std::string_view s(text);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  int base = 10;
  if (!s.empty() && s.front() == '$') {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty() || s.front() == '-' || s.front() == '+') return false;
  long long magnitude = 0;
  auto res = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
  if (res.ec != std::errc() || res.ptr != s.data() + s.size()) return false;
  long long v = negative ? -magnitude : magnitude;
  // Hexadecimal text may spell a 32-bit pattern ("$FFFFFFFF" is -1), as the toolkit allows.
  if (base == 16 && !negative && v > 0x7FFFFFFFLL && v <= 0xFFFFFFFFLL)
    v = static_cast<long long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
  if (v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int>(v);
  return true;
}

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& name,
                                int defaultValue) {
  int v = 0;
  return TextToInt(ReadString(section, name, ""), v) ? v : defaultValue;
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& name,
                                  int value) {
  WriteString(section, name, std::to_string(value));
}

double TCustomIniFile::ReadFloat(const std::string& section, const std::string& name,
                                 double defaultValue) {
  std::string text = ReadString(section, name, "");
  if (text.empty()) return defaultValue;
  if (auto v = TextToFloat(text)) return *v;
  // A file written under other regional settings uses the other separator; take it too.
  const char regional = DecimalSeparator();
  const char other = regional == ',' ? '.' : ',';
  std::replace(text.begin(), text.end(), other, regional);
  return TextToFloat(text).value_or(defaultValue);
}

void TCustomIniFile::WriteFloat(const std::string& section, const std::string& name,
                                double value) {
  WriteString(section, name, FloatToText(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& name,
                              bool defaultValue) {
  return ReadInteger(section, name, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& name, bool value) {
  WriteString(section, name, value ? "1" : "0");
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& name) {
  TStrings names;
  ReadSection(section, names);
  for (const std::string& n : names)
    if (SameTextIgnoringCase(n, name)) return true;
  return false;
}

bool TCustomIniFile::SectionExists(const std::string& section) {
  TStrings names;
  ReadSection(section, names);
  return !names.empty();
}

}  // namespace vzt
