#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The string table a resource library (the language library) exports, and the loaders that
// read it with the semantics of the system's string loaders: a length of 0 means "no such
// string", and a text that does not fit the caller's buffer is cut to buffer size - 1 units
// followed by a terminator.
//
// The layout is plain C so that generated libraries and test libraries can define it without
// linking anything of ours. All sizes are counts of UTF-16 units.
extern "C" {

struct VztStringEntry {
  std::uint32_t id;      // string id; ids ascend strictly through the table
  std::uint32_t offset;  // first unit of the text in the pool
  std::uint32_t length;  // units of the text, no terminator
};

struct VztStringTable {
  std::uint32_t magic;    // kStringTableMagic
  std::uint32_t version;  // kStringTableVersion
  std::uint32_t entry_count;
  std::uint32_t pool_units;
  const VztStringEntry* entries;
  const char16_t* pool;
};

// The export itself: a function with C linkage returning the library's table.
using VztStringTableFn = const VztStringTable* (*)();
}

namespace vzt {

class Library;

inline constexpr char kStringTableExport[] = "_StringTable";
inline constexpr std::uint32_t kStringTableMagic = 0x5453'5A56;  // "VZST" read as bytes
inline constexpr std::uint32_t kStringTableVersion = 1;
// String ids are 16-bit, as in the system's string tables, and so is a text's length.
inline constexpr std::uint32_t kMaxStringId = 0xFFFF;
inline constexpr std::uint32_t kMaxStringLength = 0xFFFF;

// Signature shared by the wide loaders: the module to search, the string id, the caller's
// buffer and its size in units (terminator included). Returns the units copied.
using WideStringLoader = int (*)(const Library& module, unsigned id, char16_t* buffer,
                                 int buffer_max);

// The table exported by a loaded module, or null when it has no such export.
const VztStringTable* ModuleStringTable(const Library& module);

// Checks every size, offset and id of a table against the others; returns why the table
// cannot be used, or an empty text when it is sound. Lookups stay in bounds on any table
// whose header is sound; this full check also finds broken entries and ids out of order.
std::string CheckStringTable(const VztStringTable* table);

// Copies text `id` of `table` into buffer (at most buffer_max - 1 units, never splitting a
// surrogate pair, then a terminator) and returns the units copied; 0 when the table, the id
// or the buffer is unusable or the text is empty.
int LoadStringFromTable(const VztStringTable* table, unsigned id, char16_t* buffer, int buffer_max);

// The same, but the text arrives in the system's narrow code page (UTF-8 here), cut at a
// character boundary; returns the bytes copied.
int LoadNarrowStringFromTable(const VztStringTable* table, unsigned id, char* buffer,
                              int buffer_max);

// The loaders over a module's exported table.
int LoadWideString(const Library& module, unsigned id, char16_t* buffer, int buffer_max);
int LoadNarrowString(const Library& module, unsigned id, char* buffer, int buffer_max);

// The system's own wide loader. Null where the system has none (the old Windows 9x family,
// which needs the compatibility library); every POSIX system has it.
WideStringLoader SystemWideStringLoader();

// A text in the system's narrow code page (UTF-8 here) as UTF-16; malformed sequences
// become U+FFFD.
std::u16string AnsiToWide(std::string_view text);

// One UTF-8 sequence from the start of text: its code point and its length in bytes. The
// length is 0 when the sequence is malformed: a stray or missing continuation byte, an
// overlong form, a surrogate, a code point above U+10FFFF, or the text ends inside it.
struct Utf8Char {
  char32_t code_point = 0;
  std::size_t length = 0;
};
Utf8Char DecodeUtf8Char(std::string_view text);

// Appends a code point (at most U+10FFFF, not a surrogate) as one or two UTF-16 units.
void AppendUtf16(std::u16string& out, char32_t code_point);

}  // namespace vzt
