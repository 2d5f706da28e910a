#pragma once

class QKeyEvent;

namespace vzt {

inline constexpr char16_t kBackspace = 8;
inline constexpr char16_t kCarriageReturn = 13;
inline constexpr char16_t kEscape = 27;

// The character a key press types, as the controls' filters see it: Enter is a carriage
// return, Backspace 8, Escape 27, Ctrl with a letter its control character (Ctrl+V is 22);
// 0 for keys that type nothing (arrows, Home, Delete, function keys, modifiers alone).
char16_t TypedCharacter(const QKeyEvent& event);

// Clipboard and undo shortcuts that type no character (Shift+Insert, Ctrl+Insert,
// Shift+Delete and the platform's other spellings); a filtered box drops them too.
bool IsClipboardOrUndoKey(const QKeyEvent& event);

bool IsAsciiDigit(char16_t c);

}  // namespace vzt
