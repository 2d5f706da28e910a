#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/Library.h"
#include "platform/StringResources.h"

using namespace vzt;

namespace {

// A table built in the test: texts by id, laid out as a library lays them out.
struct TestTable {
  std::vector<VztStringEntry> entries;
  std::u16string pool;
  VztStringTable header{};

  explicit TestTable(std::initializer_list<std::pair<unsigned, std::u16string>> texts) {
    for (const auto& [id, text] : texts) {
      entries.push_back(
          {id, static_cast<std::uint32_t>(pool.size()), static_cast<std::uint32_t>(text.size())});
      pool += text;
    }
    Seal();
  }

  // Points the header at the entries and the pool as they are now.
  void Seal() {
    header = {kStringTableMagic,
              kStringTableVersion,
              static_cast<std::uint32_t>(entries.size()),
              static_cast<std::uint32_t>(pool.size()),
              entries.data(),
              pool.data()};
  }
};

TestTable SoundTable() {
  return TestTable{{0, u"Italiano"}, {6, u"Esci"}, {7, u"\u00B0C \u0105\U0001D11E"},
                   {8, u""},         {9, u"abc"},  {65535, u"last"}};
}

std::u16string Load(const VztStringTable* table, unsigned id, int buffer_max) {
  std::vector<char16_t> buffer(static_cast<std::size_t>(std::max(buffer_max, 1)), u'#');
  int n = LoadStringFromTable(table, id, buffer.data(), buffer_max);
  EXPECT_GE(n, 0);
  if (buffer_max > 0) {
    EXPECT_EQ(buffer[static_cast<std::size_t>(n)], u'\0') << "terminator";
  }
  return std::u16string(buffer.data(), static_cast<std::size_t>(n));
}

std::string LoadNarrow(const VztStringTable* table, unsigned id, int buffer_max) {
  std::vector<char> buffer(static_cast<std::size_t>(std::max(buffer_max, 1)), '#');
  int n = LoadNarrowStringFromTable(table, id, buffer.data(), buffer_max);
  EXPECT_GE(n, 0);
  if (buffer_max > 0) {
    EXPECT_EQ(buffer[static_cast<std::size_t>(n)], '\0') << "terminator";
  }
  return std::string(buffer.data(), static_cast<std::size_t>(n));
}

TEST(StringTableLoader, FindsTextsByIdAndMissesTheRest) {
  TestTable t = SoundTable();
  EXPECT_EQ(CheckStringTable(&t.header), "");
  EXPECT_EQ(Load(&t.header, 0, 255), u"Italiano");
  EXPECT_EQ(Load(&t.header, 6, 255), u"Esci");
  EXPECT_EQ(Load(&t.header, 65535, 255), u"last");
  for (unsigned absent : {1u, 5u, 10u, 65534u, 65536u, 0xFFFFFFFFu})
    EXPECT_EQ(Load(&t.header, absent, 255), u"") << absent;
  EXPECT_EQ(Load(&t.header, 8, 255), u"") << "an empty text reads as missing";
  EXPECT_EQ(Load(nullptr, 6, 255), u"");
}

TEST(StringTableLoader, CutsToTheBufferWithoutSplittingASurrogatePair) {
  TestTable t = SoundTable();
  struct Case {
    unsigned id;
    int buffer_max;
    std::u16string expected;
  };
  const Case cases[] = {
      {6, 5, u"Esci"},
      {6, 4, u"Esc"},
      {6, 2, u"E"},
      {6, 1, u""},
      // "°C ą" + U+1D11E: the pair occupies units 4 and 5.
      {7, 7, u"\u00B0C \u0105\U0001D11E"},
      {7, 6, u"\u00B0C \u0105"},
      {7, 5, u"\u00B0C \u0105"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Load(&t.header, c.id, c.buffer_max), c.expected) << c.id << "/" << c.buffer_max;
}

TEST(StringTableLoader, UnusableBufferCopiesNothing) {
  TestTable t = SoundTable();
  std::array<char16_t, 4> wide{u'#', u'#', u'#', u'#'};
  EXPECT_EQ(LoadStringFromTable(&t.header, 6, wide.data(), 0), 0);
  EXPECT_EQ(LoadStringFromTable(&t.header, 6, wide.data(), -5), 0);
  EXPECT_EQ(wide[0], u'#');
  EXPECT_EQ(LoadStringFromTable(&t.header, 6, nullptr, 255), 0);
  std::array<char, 4> narrow{'#', '#', '#', '#'};
  EXPECT_EQ(LoadNarrowStringFromTable(&t.header, 6, narrow.data(), 0), 0);
  EXPECT_EQ(narrow[0], '#');
  EXPECT_EQ(LoadNarrowStringFromTable(&t.header, 6, nullptr, 255), 0);
}

TEST(StringTableLoader, NarrowLoaderGivesUtf8CutAtACharacterBoundary) {
  TestTable t = SoundTable();
  // "°" and "ą" take two bytes, U+1D11E four: 2 + 1 + 1 + 2 + 4 = 10 bytes.
  const std::string full =
      "\xC2\xB0"
      "C \xC4\x85\xF0\x9D\x84\x9E";
  EXPECT_EQ(LoadNarrow(&t.header, 7, 255), full);
  EXPECT_EQ(LoadNarrow(&t.header, 7, 11), full);
  EXPECT_EQ(LoadNarrow(&t.header, 7, 10), full.substr(0, 6));
  EXPECT_EQ(LoadNarrow(&t.header, 7, 6), full.substr(0, 4));
  EXPECT_EQ(LoadNarrow(&t.header, 7, 2), "");
  EXPECT_EQ(LoadNarrow(&t.header, 99, 255), "");
}

TEST(StringTableLoader, NarrowLoaderReplacesUnpairedSurrogates) {
  TestTable t{{1, std::u16string{u'a', char16_t{0xD834}, u'b', char16_t{0xDD1E}}}};
  EXPECT_EQ(LoadNarrow(&t.header, 1, 255),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD");
}

struct BrokenTableCase {
  const char* fault;
  std::function<void(TestTable&)> spoil;
  const char* problem;  // a part of the message
};

void PrintTo(const BrokenTableCase& c, std::ostream* os) { *os << c.fault; }

class BrokenStringTable : public ::testing::TestWithParam<BrokenTableCase> {};

// Every fault is named, and no lookup on the spoiled table reads outside what it holds
// (the sanitizer watches the reads).
TEST_P(BrokenStringTable, IsNamedAndLookupsStayInBounds) {
  TestTable t = SoundTable();
  GetParam().spoil(t);
  std::string problem = CheckStringTable(&t.header);
  EXPECT_NE(problem.find(GetParam().problem), std::string::npos) << problem;
  for (unsigned id : {0u, 6u, 7u, 9u, 65535u}) {
    Load(&t.header, id, 255);
    LoadNarrow(&t.header, id, 255);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BrokenStringTable,
    ::testing::Values(
        BrokenTableCase{"WrongMagic", [](TestTable& t) { t.header.magic ^= 1; }, "signature"},
        BrokenTableCase{"WrongVersion", [](TestTable& t) { t.header.version = 2; }, "version 2"},
        BrokenTableCase{"TooManyEntries", [](TestTable& t) { t.header.entry_count = 65537; },
                        "more than 16-bit"},
        BrokenTableCase{"NoEntries", [](TestTable& t) { t.header.entries = nullptr; },
                        "no entries"},
        BrokenTableCase{"PoolLargerThanItsTexts",
                        [](TestTable& t) { t.header.pool_units = 6u * 65535u + 1u; },
                        "larger than its strings"},
        BrokenTableCase{"NoPool", [](TestTable& t) { t.header.pool = nullptr; }, "has none"},
        BrokenTableCase{"EntryPastThePool",
                        [](TestTable& t) { t.entries[1].offset = t.header.pool_units - 1; },
                        "string 6 runs past the end"},
        BrokenTableCase{"EntryOffsetWrapsAround",
                        [](TestTable& t) {
                          t.entries[1].offset = 0xFFFFFFFFu;
                          t.entries[1].length = 2;
                        },
                        "string 6 runs past the end"},
        BrokenTableCase{"IdAbove16Bits", [](TestTable& t) { t.entries.back().id = 65536; },
                        "above 16 bits"},
        BrokenTableCase{"TextTooLong", [](TestTable& t) { t.entries[2].length = 65536; },
                        "longer than"},
        BrokenTableCase{"IdsOutOfOrder",
                        [](TestTable& t) { std::swap(t.entries[1].id, t.entries[2].id); },
                        "id 6 does not follow id 7"},
        BrokenTableCase{"IdTwice", [](TestTable& t) { t.entries[2].id = 6; },
                        "id 6 does not follow id 6"}));

TEST(StringTableLoader, ModuleWithoutTableMissesEveryText) {
  Library none;
  std::array<char16_t, 8> wide{};
  EXPECT_EQ(ModuleStringTable(none), nullptr);
  EXPECT_EQ(LoadWideString(none, 0, wide.data(), 8), 0);
  std::array<char, 8> narrow{};
  EXPECT_EQ(LoadNarrowString(none, 0, narrow.data(), 8), 0);
  EXPECT_EQ(SystemWideStringLoader(), &LoadWideString);
}

struct Utf8Case {
  const char* name;
  std::string bytes;
  char32_t code_point;
  std::size_t length;  // 0: malformed
};

void PrintTo(const Utf8Case& c, std::ostream* os) { *os << c.name; }

class Utf8Decoding : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8Decoding, AcceptsOnlyWellFormedSequences) {
  const Utf8Case& c = GetParam();
  Utf8Char got = DecodeUtf8Char(c.bytes);
  EXPECT_EQ(got.length, c.length);
  if (c.length) {
    EXPECT_EQ(got.code_point, c.code_point);
  }
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8Decoding,
                         ::testing::Values(Utf8Case{"Ascii", "A", U'A', 1},
                                           Utf8Case{"TwoBytes", "\xC2\xB0", 0xB0, 2},
                                           Utf8Case{"ThreeBytes", "\xE2\x82\xAC", 0x20AC, 3},
                                           Utf8Case{"FourBytes", "\xF0\x9D\x84\x9E", 0x1D11E, 4},
                                           Utf8Case{"Highest", "\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
                                           Utf8Case{"Empty", "", 0, 0},
                                           Utf8Case{"StrayContinuation", "\x80", 0, 0},
                                           Utf8Case{"CutShort", "\xE2\x82", 0, 0},
                                           Utf8Case{"BadContinuation", "\xE2\x41\xAC", 0, 0},
                                           Utf8Case{"OverlongTwo", "\xC0\x80", 0, 0},
                                           Utf8Case{"OverlongThree", "\xE0\x80\xAF", 0, 0},
                                           Utf8Case{"OverlongFour", "\xF0\x8F\xBF\xBF", 0, 0},
                                           Utf8Case{"Surrogate", "\xED\xA0\x80", 0, 0},
                                           Utf8Case{"AboveUnicode", "\xF4\x90\x80\x80", 0, 0},
                                           Utf8Case{"FiveByteLead", "\xF8\x88\x80\x80\x80", 0, 0},
                                           Utf8Case{"InvalidByte", "\xFF", 0, 0}));

TEST(AnsiToWide, ConvertsAndReplacesMalformedBytes) {
  EXPECT_EQ(AnsiToWide("Esci"), u"Esci");
  EXPECT_EQ(AnsiToWide("\xC2\xB0"
                       "C \xF0\x9D\x84\x9E"),
            u"\u00B0C \U0001D11E");
  EXPECT_EQ(AnsiToWide("a\xFF"
                       "b\xE2\x82"),
            u"a\uFFFDb\uFFFD\uFFFD");
  EXPECT_EQ(AnsiToWide(""), u"");
}

}  // namespace
