// A stand-in language library, built several times: with the counts given by MAX_LANGUAGES
// and MAX_STRINGS (each export left out when its macro is not defined), without its string
// table (NO_TABLE), or with an entry that runs past the text pool (BROKEN_TABLE).

#include <cstdint>
#include <vector>

#include "platform/StringResources.h"
#include "tests/components/translator/TestLanguageTexts.h"

#define VZT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace test_language;

std::u16string TextOf(unsigned stringId) {
  switch (stringId) {
    case kEsci:
      return u"Esci";
    case kLongText:
      return LongText();
    case kNonAscii:
      return NonAsciiText();
    case kEmptyText:
      return {};
    default:
      return PlainText(stringId);
  }
}

struct Table {
  std::vector<VztStringEntry> entries;
  std::u16string pool;
  VztStringTable header{};

  Table() {
    for (unsigned id = 0; id < kTableLanguages * kTableStrings; ++id) {
      if (id % kTableStrings == kAbsentOffset) continue;
      std::u16string text = TextOf(id);
      entries.push_back(
          {id, static_cast<std::uint32_t>(pool.size()), static_cast<std::uint32_t>(text.size())});
      pool += text;
    }
#ifdef BROKEN_TABLE
    entries.back().offset = static_cast<std::uint32_t>(pool.size());
#endif
    header = {vzt::kStringTableMagic,
              vzt::kStringTableVersion,
              static_cast<std::uint32_t>(entries.size()),
              static_cast<std::uint32_t>(pool.size()),
              entries.data(),
              pool.data()};
  }
};

}  // namespace

#ifdef MAX_LANGUAGES
VZT_EXPORT void _MaxLanguages(std::int8_t* count) { *count = MAX_LANGUAGES; }
#endif

#ifdef MAX_STRINGS
VZT_EXPORT void _MaxStrings(std::int32_t* count) { *count = MAX_STRINGS; }
#endif

#ifndef NO_TABLE
VZT_EXPORT const VztStringTable* _StringTable() {
  static const Table table;
  return &table.header;
}
#endif
