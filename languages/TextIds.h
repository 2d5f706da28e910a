#pragma once

namespace vzt {

// The text ids the program reads from the language library. Every language of the library
// must hold a text for each; the build refuses a language file that lacks one.
struct TextIdRange {
  int first;
  int last;
};

inline constexpr TextIdRange kProgramTextIds[] = {
    {0, 102},    // 0 the language's own name; the windows, the shared texts, the list
                 // entries, the wait window and the messages of saving and loading
    {104, 108},  // the wrong-controller message and the unit labels
    {150, 150},  // the about box: the word before the version number
};

constexpr bool IsProgramTextId(int id) {
  for (const TextIdRange& r : kProgramTextIds)
    if (id >= r.first && id <= r.last) return true;
  return false;
}

}  // namespace vzt
