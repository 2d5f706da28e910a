#include "platform/Registry.h"

#ifdef _WIN32
#error "The registry on Windows is the system's own (HKEY_CURRENT_USER); that backend is not written yet."
#else

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/WholeFile.h"

namespace vzt {

namespace {

// Key files are tiny; anything bigger is not one of ours and is left alone.
constexpr std::size_t kMaxKeyFileSize = 1024 * 1024;
constexpr std::string_view kDwordPrefix = "dword:";

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::string ConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return std::string(home) + "/.config";
  return {};
}

// The path's parts in lower case; nothing for an empty path or a part that would leave the
// registry folder.
std::optional<std::vector<std::string>> KeyPathParts(std::string_view keyPath) {
  std::vector<std::string> parts;
  std::string part;
  auto take = [&]() {
    if (part.empty()) return true;
    if (part == "." || part == "..") return false;
    parts.push_back(part);
    part.clear();
    return true;
  };
  for (char c : keyPath) {
    if (c == '\0') return std::nullopt;
    if (c == '\\' || c == '/') {
      if (!take()) return std::nullopt;
    } else {
      part += LowerAscii(c);
    }
  }
  if (!take() || parts.empty()) return std::nullopt;
  return parts;
}

// Texts are quoted; backslash, quote and control bytes are escaped, so a value can hold
// anything, line breaks included, and still take one line.
std::string Quote(std::string_view text) {
  static const char* const hex = "0123456789abcdef";
  std::string quoted = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      quoted += '\\';
      quoted += c;
    } else if (byte < 0x20 || byte == 0x7f) {
      quoted += "\\x";
      quoted += hex[byte >> 4];
      quoted += hex[byte & 0xf];
    } else {
      quoted += c;
    }
  }
  return quoted + "\"";
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text at the start of line and removes it from line.
std::optional<std::string> TakeQuoted(std::string_view& line) {
  if (line.empty() || line.front() != '"') return std::nullopt;
  std::string text;
  std::size_t i = 1;
  while (i < line.size() && line[i] != '"') {
    if (line[i] != '\\') {
      text += line[i++];
      continue;
    }
    if (i + 1 >= line.size()) return std::nullopt;
    const char escaped = line[i + 1];
    if (escaped == '\\' || escaped == '"') {
      text += escaped;
      i += 2;
    } else if (escaped == 'x' && i + 3 < line.size() && HexDigit(line[i + 2]) >= 0 &&
               HexDigit(line[i + 3]) >= 0) {
      text += static_cast<char>(HexDigit(line[i + 2]) * 16 + HexDigit(line[i + 3]));
      i += 4;
    } else {
      return std::nullopt;
    }
  }
  if (i >= line.size()) return std::nullopt;
  line.remove_prefix(i + 1);
  return text;
}

std::optional<std::int32_t> ParseDword(std::string_view text) {
  if (text.size() != kDwordPrefix.size() + 8 || text.substr(0, kDwordPrefix.size()) != kDwordPrefix)
    return std::nullopt;
  std::uint32_t n = 0;
  for (char c : text.substr(kDwordPrefix.size())) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    n = n << 4 | static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(n);
}

// One value line: "name"="text" or "name"=dword:0000002a.
std::optional<Registry::Value> ParseValueLine(std::string_view line) {
  Registry::Value value;
  auto name = TakeQuoted(line);
  if (!name || line.empty() || line.front() != '=') return std::nullopt;
  line.remove_prefix(1);
  value.name = std::move(*name);
  if (auto number = ParseDword(line)) {
    value.type = RegistryDataType::Integer;
    value.number = *number;
    return value;
  }
  auto text = TakeQuoted(line);
  if (!text || !line.empty()) return std::nullopt;
  value.type = RegistryDataType::String;
  value.text = std::move(*text);
  return value;
}

// Damaged lines and repeated names are skipped: what can be read stays readable.
std::vector<Registry::Value> ParseKeyFile(std::string_view content) {
  std::vector<Registry::Value> values;
  while (!content.empty()) {
    const std::size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == ';') continue;
    auto value = ParseValueLine(line);
    if (!value) continue;
    bool known = false;
    for (const auto& v : values) known = known || SameName(v.name, value->name);
    if (!known) values.push_back(std::move(*value));
  }
  return values;
}

std::string SerialiseKey(std::string_view keyPath, const std::vector<Registry::Value>& values) {
  std::string content = "; HKEY_CURRENT_USER\\" + std::string(keyPath) + "\n";
  char number[16];
  for (const auto& v : values) {
    content += Quote(v.name) + "=";
    if (v.type == RegistryDataType::Integer) {
      std::snprintf(number, sizeof number, "%08x", static_cast<std::uint32_t>(v.number));
      content += std::string(kDwordPrefix) + number;
    } else {
      content += Quote(v.text);
    }
    content += "\n";
  }
  return content;
}

// Settings are the user's own: a new key file is readable by its owner only.
bool WriteKeyFile(const std::string& path, std::string_view content, std::string& error) {
  return WriteFileAtomically(path, content, error, 0600);
}

bool CreateKeyFile(const std::string& path, std::string_view keyPath, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (ec) {
    error = "cannot create the folder of " + path + ": " + ec.message();
    return false;
  }
  return WriteKeyFile(path, SerialiseKey(keyPath, {}), error);
}

}  // namespace

Registry::Registry(RegistryRoot root) : root_(root) {}

Registry::~Registry() { CloseKey(); }

void Registry::SetRootKey(RegistryRoot root) {
  CloseKey();
  root_ = root;
}

std::string Registry::KeyFileName(std::string_view keyPath) {
  const auto parts = KeyPathParts(keyPath);
  const std::string folder = ConfigFolder();
  if (!parts || folder.empty()) return {};
  std::string file = folder + "/vzt-registry";
  for (const std::string& part : *parts) file += "/" + part;
  return file + ".reg";
}

bool Registry::OpenKey(std::string_view keyPath, bool canCreate) {
  CloseKey();
  const std::string file = KeyFileName(keyPath);
  if (file.empty()) return Fail("no key file for the path \"" + std::string(keyPath) + "\"");
  FileReadResult read = ReadWholeFile(file, kMaxKeyFileSize);
  switch (read.status) {
    case FileReadStatus::Failed:
      return Fail(read.error);
    case FileReadStatus::Missing:
      if (!canCreate) return Fail(read.error);
      if (!CreateKeyFile(file, keyPath, read.error)) return Fail(read.error);
      break;
    case FileReadStatus::Ok:
      values_ = ParseKeyFile(read.content);
      break;
  }
  open_ = true;
  key_path_ = keyPath;
  file_name_ = file;
  error_.clear();
  return true;
}

void Registry::CloseKey() {
  open_ = false;
  key_path_.clear();
  file_name_.clear();
  values_.clear();
}

const Registry::Value* Registry::Find(std::string_view name) const {
  for (const Value& v : values_)
    if (SameName(v.name, name)) return &v;
  return nullptr;
}

bool Registry::Fail(std::string error) const {
  error_ = std::move(error);
  return false;
}

bool Registry::ValueExists(std::string_view name) const { return Find(name) != nullptr; }

RegistryDataType Registry::GetDataType(std::string_view name) const {
  const Value* v = Find(name);
  return v ? v->type : RegistryDataType::None;
}

bool Registry::ReadString(std::string_view name, std::string& value) const {
  const Value* v = Find(name);
  if (!v || v->type != RegistryDataType::String)
    return Fail("no text value \"" + std::string(name) + "\"");
  value = v->text;
  return true;
}

bool Registry::ReadInteger(std::string_view name, std::int32_t& value) const {
  const Value* v = Find(name);
  if (!v || v->type != RegistryDataType::Integer)
    return Fail("no integer value \"" + std::string(name) + "\"");
  value = v->number;
  return true;
}

bool Registry::Commit(std::vector<Value> values) {
  if (!open_) return Fail("no key is open");
  std::string error;
  if (!WriteKeyFile(file_name_, SerialiseKey(key_path_, values), error)) return Fail(error);
  values_ = std::move(values);
  return true;
}

bool Registry::Put(Value value) {
  std::vector<Value> values = values_;
  if (const Value* old = Find(value.name))
    values[static_cast<std::size_t>(old - values_.data())] = std::move(value);
  else
    values.push_back(std::move(value));
  return Commit(std::move(values));
}

bool Registry::WriteString(std::string_view name, std::string_view value) {
  return Put(Value{std::string(name), RegistryDataType::String, std::string(value), 0});
}

bool Registry::WriteInteger(std::string_view name, std::int32_t value) {
  return Put(Value{std::string(name), RegistryDataType::Integer, {}, value});
}

bool Registry::DeleteValue(std::string_view name) {
  const Value* old = Find(name);
  if (!old) return Fail("no value \"" + std::string(name) + "\"");
  std::vector<Value> values = values_;
  values.erase(values.begin() + (old - values_.data()));
  return Commit(std::move(values));
}

}  // namespace vzt

#endif
