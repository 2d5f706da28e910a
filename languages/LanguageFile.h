#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vzt {

// One language's texts, read from its text file. The file is UTF-8, one text per line:
//
//   # a comment
//   6<TAB>Esci
//   16<TAB>First line\nsecond line
//
// The id is written in decimal without leading zeros; the text runs to the end of the line
// and uses \n for a line break, \t for a tab and \\ for a backslash. Empty lines and lines
// starting with '#' are skipped. A file may start with a byte order mark.
struct LanguageText {
  int id = 0;
  std::u16string text;
  int line = 0;
};

struct LanguageFile {
  std::string path;
  std::vector<LanguageText> texts;  // in id order
};

// Texts are cut by the program's 255-unit buffers, so a longer one is refused.
inline constexpr std::size_t kMaxTextUnits = 254;

// Reads a language file's content. Every problem is reported as "path:line: message"; the
// file is usable only when there are none. Refused: a malformed line or id, an id used
// twice, an id the program does not use, bad UTF-8, a raw control character, an unknown
// escape, an empty text, a text above kMaxTextUnits UTF-16 units, and a file that lacks
// one of the program's ids.
LanguageFile ParseLanguageFile(std::string path, std::string_view content,
                               std::vector<std::string>& errors);

}  // namespace vzt
