#pragma once

#include <string>

// What the test language libraries hold. Their string table covers three blocks of 200 ids
// (string ids 0 to 599) whatever counts a library reports; string id n holds "s<n>" except
// for these string ids of language 0 and the offset missing from every block. (No static
// data here, nor std::to_string: a local static of an inline function would keep a
// library from unloading.)
namespace test_language {

inline constexpr int kTableLanguages = 3;
inline constexpr int kTableStrings = 200;

inline constexpr unsigned kEsci = 6;            // "Esci"
inline constexpr unsigned kLongText = 7;        // 300 characters, see LongText()
inline constexpr unsigned kNonAscii = 8;        // NonAsciiText()
inline constexpr unsigned kEmptyText = 9;       // an empty text, which reads as missing
inline constexpr unsigned kAbsentOffset = 100;  // offset 100 of every block has no entry

inline std::u16string LongText() {
  std::u16string text;
  for (int i = 0; i < 300; ++i) text.push_back(static_cast<char16_t>(u'a' + i % 26));
  return text;
}

// Two-byte, three-byte and four-byte UTF-8 forms (the last a surrogate pair in UTF-16).
inline std::u16string NonAsciiText() { return u"\u00B0C \u00F7 \u0105\u0119 \u20AC\U0001D11E"; }

inline std::u16string PlainText(unsigned stringId) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + stringId % 10));
    stringId /= 10;
  } while (stringId > 0);
  return u"s" + digits;
}

}  // namespace test_language
