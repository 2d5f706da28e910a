#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "languages/LanguageFile.h"
#include "languages/TextIds.h"

using namespace vzt;

namespace {

// A complete language file as lines: line 1 a comment, then "id<TAB>t<id>" for every id
// the program uses, in id order.
struct Lines {
  std::vector<std::string> lines{"# test language"};

  Lines() {
    for (const TextIdRange& r : kProgramTextIds)
      for (int id = r.first; id <= r.last; ++id)
        lines.push_back(std::to_string(id) + "\tt" + std::to_string(id));
  }

  // The 1-based line holding id.
  int LineOf(int id) const {
    std::string prefix = std::to_string(id) + "\t";
    auto it = std::find_if(lines.begin(), lines.end(),
                           [&](const std::string& l) { return l.starts_with(prefix); });
    return static_cast<int>(it - lines.begin()) + 1;
  }
  void Replace(int id, std::string line) {
    lines[static_cast<std::size_t>(LineOf(id) - 1)] = std::move(line);
  }
  void Remove(int id) { lines.erase(lines.begin() + (LineOf(id) - 1)); }
  int Count() const { return static_cast<int>(lines.size()); }

  std::string Content() const {
    std::string out;
    for (const std::string& l : lines) out += l + "\n";
    return out;
  }
};

TEST(LanguageFile, ReadsTextsWithEscapesInIdOrder) {
  Lines f;
  f.Replace(6, "6\tEsci");
  f.Replace(16, "16\tLine one\\nline two\\ttab \\\\ done");
  f.Replace(104, "104\tLa centralina non \xC3\xA8 quella prevista \xF0\x9D\x84\x9E");
  f.Replace(150, "150\t" + std::string(kMaxTextUnits, 'v'));
  f.lines.insert(f.lines.begin() + 3, "");
  f.lines.insert(f.lines.begin() + 3, "# a comment\tthat holds a tab");
  // Out of order is fine; so are a byte order mark and a last line without a line break.
  std::swap(f.lines[4], f.lines[9]);
  std::string content = "\xEF\xBB\xBF" + f.Content();
  content.pop_back();

  std::vector<std::string> errors;
  LanguageFile file = ParseLanguageFile("f.txt", content, errors);
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(file.path, "f.txt");
  ASSERT_EQ(file.texts.size(), 109u);
  EXPECT_TRUE(
      std::is_sorted(file.texts.begin(), file.texts.end(),
                     [](const LanguageText& a, const LanguageText& b) { return a.id < b.id; }));
  auto text = [&](int id) {
    return std::find_if(file.texts.begin(), file.texts.end(),
                        [id](const LanguageText& t) { return t.id == id; });
  };
  EXPECT_EQ(text(0)->text, u"t0");
  EXPECT_EQ(text(6)->text, u"Esci");
  EXPECT_EQ(text(6)->line, f.LineOf(6));
  EXPECT_EQ(text(16)->text, u"Line one\nline two\ttab \\ done");
  EXPECT_EQ(text(104)->text, u"La centralina non \u00E8 quella prevista \U0001D11E");
  EXPECT_EQ(text(150)->text.size(), kMaxTextUnits);
}

struct FaultCase {
  const char* name;
  std::function<void(Lines&)> spoil;
  std::function<int(const Lines&)> line;  // where the problem is reported
  std::string message;                    // a part of it
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

int LineOf6(const Lines& f) { return f.LineOf(6); }
int LastLine(const Lines& f) { return f.Count(); }

class LanguageFileFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(LanguageFileFault, IsReportedOnceWithFileAndLine) {
  const FaultCase& c = GetParam();
  Lines f;
  c.spoil(f);
  std::vector<std::string> errors;
  ParseLanguageFile("lang/f.txt", f.Content(), errors);
  ASSERT_EQ(errors.size(), 1u) << (errors.empty() ? "" : errors[0] + " | " + errors.back());
  std::string where = "lang/f.txt:" + std::to_string(c.line(f)) + ": ";
  EXPECT_TRUE(errors[0].starts_with(where)) << errors[0];
  EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LanguageFileFault,
    ::testing::Values(
        FaultCase{"DuplicateId", [](Lines& f) { f.lines.push_back("6\tAgain"); }, LastLine,
                  "id 6 already has a text at line 8"},
        FaultCase{"BadUtf8",
                  [](Lines& f) {
                    f.Replace(6,
                              "6\tEs\xC3"
                              "ci");
                  },
                  LineOf6, "bad UTF-8 at column 5"},
        FaultCase{"OverlongUtf8", [](Lines& f) { f.Replace(6, "6\tEs\xC0\xAF"); }, LineOf6,
                  "bad UTF-8 at column 5"},
        FaultCase{"MissingIds",
                  [](Lines& f) {
                    for (int id : {27, 28, 29, 30, 31, 32, 150}) f.Remove(id);
                  },
                  LastLine, "without texts for ids 27-32, 150"},
        FaultCase{"UnknownEscape", [](Lines& f) { f.Replace(6, "6\tEs\\qci"); }, LineOf6,
                  "unknown escape at column 5"},
        FaultCase{"BackslashAtTheEnd", [](Lines& f) { f.Replace(6, "6\tEsci\\"); }, LineOf6,
                  "unknown escape at column 7"},
        FaultCase{"CarriageReturn", [](Lines& f) { f.Replace(6, "6\tEsci\r"); }, LineOf6,
                  "carriage return at column 7"},
        FaultCase{"ControlCharacter",
                  [](Lines& f) {
                    f.Replace(6,
                              "6\tEs\x01"
                              "ci");
                  },
                  LineOf6, "control character at column 5"},
        FaultCase{"NoTab", [](Lines& f) { f.lines.push_back("6 Esci"); }, LastLine,
                  "expected an id, a tab and the text"},
        FaultCase{"BlankLine", [](Lines& f) { f.lines.insert(f.lines.begin() + 5, "  "); },
                  [](const Lines&) { return 6; }, "expected an id, a tab and the text"},
        FaultCase{"IdNotANumber", [](Lines& f) { f.lines.push_back("x6\tEsci"); }, LastLine,
                  "\"x6\" is not a number"},
        FaultCase{"NegativeId", [](Lines& f) { f.lines.push_back("-6\tEsci"); }, LastLine,
                  "\"-6\" is not a number"},
        FaultCase{"EmptyId", [](Lines& f) { f.lines.push_back("\tEsci"); }, LastLine,
                  "\"\" is not a number"},
        FaultCase{"HugeId", [](Lines& f) { f.lines.push_back("123456\tX"); }, LastLine,
                  "\"123456\" is not a number"},
        FaultCase{"LeadingZero", [](Lines& f) { f.lines.push_back("06\tEsci"); }, LastLine,
                  "\"06\" has a leading zero"},
        FaultCase{"UnusedId", [](Lines& f) { f.lines.push_back("103\tX"); }, LastLine,
                  "id 103 is not a text id the program uses"},
        FaultCase{"IdBeyondTheProgram", [](Lines& f) { f.lines.push_back("151\tX"); }, LastLine,
                  "id 151 is not a text id"},
        FaultCase{"EmptyText", [](Lines& f) { f.Replace(6, "6\t"); }, LineOf6, "empty text"},
        FaultCase{"TooLong",
                  [](Lines& f) { f.Replace(6, "6\t" + std::string(kMaxTextUnits + 1, 'a')); },
                  LineOf6, "255 UTF-16 units"},
        FaultCase{"TooLongInSurrogatePairs",
                  [](Lines& f) {
                    std::string text;
                    for (int i = 0; i < 128; ++i) text += "\xF0\x9D\x84\x9E";
                    f.Replace(6, "6\t" + text);
                  },
                  LineOf6, "256 UTF-16 units"}));

TEST(LanguageFile, ReportsEveryProblem) {
  Lines f;
  f.Replace(6, "6\tEs\\qci");
  f.Replace(7, "07\tAiuto");
  f.lines.push_back("8\tAgain");
  std::vector<std::string> errors{"an earlier file's problem"};
  ParseLanguageFile("f.txt", f.Content(), errors);
  ASSERT_EQ(errors.size(), 5u);
  EXPECT_EQ(errors[0], "an earlier file's problem");
  EXPECT_TRUE(errors[1].starts_with("f.txt:" + std::to_string(f.LineOf(6)) + ":"));
  EXPECT_NE(errors[2].find("leading zero"), std::string::npos);
  EXPECT_NE(errors[3].find("id 8 already"), std::string::npos);
  EXPECT_NE(errors[4].find("without texts for id 7"), std::string::npos);
}

TEST(LanguageFile, EmptyFileLacksEveryId) {
  std::vector<std::string> errors;
  ParseLanguageFile("f.txt", "", errors);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "f.txt:1: the file ends without texts for ids 0-102, 104-108, 150");
}

}  // namespace
