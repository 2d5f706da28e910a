#include "LanguageFile.h"

#include <algorithm>
#include <map>

#include "languages/TextIds.h"
#include "platform/StringResources.h"

namespace vzt {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMaxIdDigits = 5;

std::vector<std::string_view> SplitLines(std::string_view content) {
  std::vector<std::string_view> lines;
  while (!content.empty()) {
    std::size_t end = content.find('\n');
    if (end == std::string_view::npos) end = content.size();
    lines.push_back(content.substr(0, end));
    content.remove_prefix(std::min(end + 1, content.size()));
  }
  return lines;
}

// "27, 28-32, 40" from a sorted list of ids.
std::string DescribeIds(const std::vector<int>& ids) {
  std::string out;
  for (std::size_t i = 0; i < ids.size();) {
    std::size_t j = i;
    while (j + 1 < ids.size() && ids[j + 1] == ids[j] + 1) ++j;
    if (!out.empty()) out += ", ";
    out += std::to_string(ids[i]);
    if (j > i) out += "-" + std::to_string(ids[j]);
    i = j + 1;
  }
  return out;
}

class LanguageFileParser {
 public:
  LanguageFileParser(std::string path, std::vector<std::string>& errors) : errors_(errors) {
    file_.path = std::move(path);
  }

  LanguageFile Parse(std::string_view content) {
    if (content.starts_with(kByteOrderMark)) content.remove_prefix(kByteOrderMark.size());
    auto lines = SplitLines(content);
    for (std::size_t i = 0; i < lines.size(); ++i) ParseLine(lines[i], static_cast<int>(i) + 1);
    ReportMissingIds(std::max<int>(1, static_cast<int>(lines.size())));
    std::sort(file_.texts.begin(), file_.texts.end(),
              [](const LanguageText& a, const LanguageText& b) { return a.id < b.id; });
    return std::move(file_);
  }

 private:
  void Error(int line, const std::string& message) {
    errors_.push_back(file_.path + ":" + std::to_string(line) + ": " + message);
  }

  void ParseLine(std::string_view line, int number) {
    if (line.empty() || line.front() == '#') return;
    std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) {
      Error(number, "expected an id, a tab and the text");
      return;
    }
    LanguageText text;
    text.line = number;
    if (!ParseId(line.substr(0, tab), number, text.id)) return;
    // The id counts as present even when its text is refused, so that one bad text is
    // reported once and not again as a missing id.
    if (auto [first, added] = first_line_.emplace(text.id, number); !added) {
      Error(number, "id " + std::to_string(text.id) + " already has a text at line " +
                        std::to_string(first->second));
      return;
    }
    if (DecodeText(line.substr(tab + 1), number, tab + 2, text.text))
      file_.texts.push_back(std::move(text));
  }

  bool ParseId(std::string_view digits, int line, int& id) {
    bool all_digits = !digits.empty() && std::all_of(digits.begin(), digits.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    if (!all_digits || digits.size() > kMaxIdDigits) {
      Error(line, "the id \"" + std::string(digits) + "\" is not a number");
      return false;
    }
    if (digits.size() > 1 && digits.front() == '0') {
      Error(line, "the id \"" + std::string(digits) + "\" has a leading zero");
      return false;
    }
    id = std::stoi(std::string(digits));
    if (!IsProgramTextId(id)) {
      Error(line, "id " + std::to_string(id) + " is not a text id the program uses");
      return false;
    }
    return true;
  }

  // first_column: the column (in bytes, from 1) where the text starts on its line.
  bool DecodeText(std::string_view raw, int line, std::size_t first_column, std::u16string& text) {
    for (std::size_t at = 0; at < raw.size();) {
      const auto byte = static_cast<unsigned char>(raw[at]);
      const std::string column = " at column " + std::to_string(first_column + at);
      if (byte == '\\') {
        if (!DecodeEscape(raw.substr(at), text)) {
          Error(line, "unknown escape" + column + " (use \\n, \\t or \\\\)");
          return false;
        }
        at += 2;
      } else if (byte < 0x20 || byte == 0x7F) {
        Error(line, (byte == '\r' ? "carriage return" : "control character") + column +
                        " (write a line break as \\n, save with LF line ends)");
        return false;
      } else {
        Utf8Char c = DecodeUtf8Char(raw.substr(at));
        if (c.length == 0) {
          Error(line, "bad UTF-8" + column);
          return false;
        }
        AppendUtf16(text, c.code_point);
        at += c.length;
      }
    }
    if (text.empty()) {
      Error(line, "empty text (an empty text reads as a missing one)");
      return false;
    }
    if (text.size() > kMaxTextUnits) {
      Error(line, "the text has " + std::to_string(text.size()) + " UTF-16 units, at most " +
                      std::to_string(kMaxTextUnits) + " fit the program's buffers");
      return false;
    }
    return true;
  }

  static bool DecodeEscape(std::string_view escape, std::u16string& text) {
    if (escape.size() < 2) return false;
    switch (escape[1]) {
      case 'n':
        text.push_back(u'\n');
        return true;
      case 't':
        text.push_back(u'\t');
        return true;
      case '\\':
        text.push_back(u'\\');
        return true;
      default:
        return false;
    }
  }

  void ReportMissingIds(int last_line) {
    std::vector<int> missing;
    for (const TextIdRange& r : kProgramTextIds)
      for (int id = r.first; id <= r.last; ++id)
        if (!first_line_.contains(id)) missing.push_back(id);
    if (!missing.empty())
      Error(last_line, std::string("the file ends without texts for ") +
                           (missing.size() == 1 ? "id " : "ids ") + DescribeIds(missing));
  }

  LanguageFile file_;
  std::vector<std::string>& errors_;
  std::map<int, int> first_line_;  // id -> the line of its text
};

}  // namespace

LanguageFile ParseLanguageFile(std::string path, std::string_view content,
                               std::vector<std::string>& errors) {
  return LanguageFileParser(std::move(path), errors).Parse(content);
}

}  // namespace vzt
