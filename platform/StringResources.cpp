#include "StringResources.h"

#include <algorithm>
#include <iterator>
#include <span>

#include "Library.h"

namespace vzt {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The header's sizes must agree with each other before any entry may be touched.
std::string CheckHeader(const VztStringTable* table) {
  if (!table) return "the library returns no string table";
  if (table->magic != kStringTableMagic) return "the string table has a wrong signature";
  if (table->version != kStringTableVersion)
    return "the string table has version " + std::to_string(table->version) + ", expected " +
           std::to_string(kStringTableVersion);
  if (table->entry_count > kMaxStringId + 1)
    return "the string table claims " + std::to_string(table->entry_count) +
           " strings, more than 16-bit ids allow";
  if (table->entry_count > 0 && !table->entries)
    return "the string table claims strings but has no entries";
  const std::uint64_t most_units = std::uint64_t{table->entry_count} * kMaxStringLength;
  if (table->pool_units > most_units)
    return "the string table's text pool of " + std::to_string(table->pool_units) +
           " units is larger than its strings can fill";
  if (table->pool_units > 0 && !table->pool)
    return "the string table claims a text pool but has none";
  return {};
}

std::string CheckEntry(const VztStringTable& table, const VztStringEntry& e) {
  if (e.id > kMaxStringId) return "id " + std::to_string(e.id) + " is above 16 bits";
  if (e.length > kMaxStringLength)
    return "string " + std::to_string(e.id) + " is longer than " +
           std::to_string(kMaxStringLength) + " units";
  if (std::uint64_t{e.offset} + e.length > table.pool_units)
    return "string " + std::to_string(e.id) + " runs past the end of the text pool";
  return {};
}

std::span<const VztStringEntry> Entries(const VztStringTable& table) {
  return {table.entries, table.entry_count};
}

// The text of `id`, or an empty view when the table, the entry or the text is unusable.
std::u16string_view FindText(const VztStringTable* table, unsigned id) {
  if (!CheckHeader(table).empty()) return {};
  auto entries = Entries(*table);
  // On a table whose ids are out of order the search may miss, but it never leaves the array.
  auto it = std::lower_bound(entries.begin(), entries.end(), id,
                             [](const VztStringEntry& e, unsigned key) { return e.id < key; });
  if (it == entries.end() || it->id != id || !CheckEntry(*table, *it).empty()) return {};
  return {table->pool + it->offset, it->length};
}

// The code point that starts at text[i], and how many units it takes; an unpaired
// surrogate reads as U+FFFD.
std::pair<char32_t, std::size_t> NextCodePoint(std::u16string_view text, std::size_t i) {
  char16_t u = text[i];
  if (IsHighSurrogate(u) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]))
    return {0x10000 + ((char32_t{u} - 0xD800) << 10) + (text[i + 1] - 0xDC00), 2};
  if (IsHighSurrogate(u) || IsLowSurrogate(u)) return {kReplacement, 1};
  return {u, 1};
}

std::size_t EncodeUtf8(char32_t cp, char (&out)[4]) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (cp >> 12));
    out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (cp >> 18));
  out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (cp & 0x3F));
  return 4;
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Lead bytes of the two- to four-byte sequences, and the smallest code point each may carry
// (anything below is an overlong form).
struct MultiByteForm {
  unsigned char mask;
  unsigned char lead;
  std::size_t length;
  char32_t smallest;
};
constexpr MultiByteForm kMultiByteForms[] = {
    {0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};

}  // namespace

const VztStringTable* ModuleStringTable(const Library& module) {
  auto table_fn = module.Function<VztStringTableFn>(kStringTableExport);
  return table_fn ? table_fn() : nullptr;
}

std::string CheckStringTable(const VztStringTable* table) {
  if (std::string header = CheckHeader(table); !header.empty()) return header;
  auto entries = Entries(*table);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (std::string entry = CheckEntry(*table, entries[i]); !entry.empty())
      return "string table entry " + std::to_string(i) + ": " + entry;
    if (i > 0 && entries[i].id <= entries[i - 1].id)
      return "string table entry " + std::to_string(i) + ": id " + std::to_string(entries[i].id) +
             " does not follow id " + std::to_string(entries[i - 1].id);
  }
  return {};
}

int LoadStringFromTable(const VztStringTable* table, unsigned id, char16_t* buffer,
                        int buffer_max) {
  if (!buffer || buffer_max < 1) return 0;
  std::u16string_view text = FindText(table, id);
  std::size_t n = std::min(text.size(), static_cast<std::size_t>(buffer_max - 1));
  if (n > 0 && n < text.size() && IsHighSurrogate(text[n - 1]) && IsLowSurrogate(text[n])) --n;
  std::copy_n(text.begin(), n, buffer);
  buffer[n] = u'\0';
  return static_cast<int>(n);
}

int LoadNarrowStringFromTable(const VztStringTable* table, unsigned id, char* buffer,
                              int buffer_max) {
  if (!buffer || buffer_max < 1) return 0;
  std::u16string_view text = FindText(table, id);
  const std::size_t room = static_cast<std::size_t>(buffer_max - 1);
  std::size_t written = 0;
  for (std::size_t i = 0; i < text.size();) {
    auto [cp, units] = NextCodePoint(text, i);
    char bytes[4];
    std::size_t size = EncodeUtf8(cp, bytes);
    if (written + size > room) break;
    std::copy_n(bytes, size, buffer + written);
    written += size;
    i += units;
  }
  buffer[written] = '\0';
  return static_cast<int>(written);
}

int LoadWideString(const Library& module, unsigned id, char16_t* buffer, int buffer_max) {
  return LoadStringFromTable(ModuleStringTable(module), id, buffer, buffer_max);
}

int LoadNarrowString(const Library& module, unsigned id, char* buffer, int buffer_max) {
  return LoadNarrowStringFromTable(ModuleStringTable(module), id, buffer, buffer_max);
}

WideStringLoader SystemWideStringLoader() { return &LoadWideString; }

Utf8Char DecodeUtf8Char(std::string_view text) {
  if (text.empty()) return {};
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < 0x80) return {lead, 1};
  const auto* form =
      std::find_if(std::begin(kMultiByteForms), std::end(kMultiByteForms),
                   [lead](const MultiByteForm& f) { return (lead & f.mask) == f.lead; });
  if (form == std::end(kMultiByteForms) || text.size() < form->length) return {};
  char32_t cp = lead & ~form->mask & 0xFF;
  for (std::size_t i = 1; i < form->length; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (!IsContinuation(b)) return {};
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < form->smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
  return {cp, form->length};
}

void AppendUtf16(std::u16string& out, char32_t code_point) {
  if (code_point < 0x10000) {
    out.push_back(static_cast<char16_t>(code_point));
    return;
  }
  code_point -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (code_point >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (code_point & 0x3FF)));
}

std::u16string AnsiToWide(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  while (!text.empty()) {
    Utf8Char c = DecodeUtf8Char(text);
    if (c.length == 0) {
      out.push_back(static_cast<char16_t>(kReplacement));
      text.remove_prefix(1);
      continue;
    }
    AppendUtf16(out, c.code_point);
    text.remove_prefix(c.length);
  }
  return out;
}

}  // namespace vzt
