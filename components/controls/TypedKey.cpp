#include "components/controls/TypedKey.h"

#include <QKeyEvent>
#include <QKeySequence>

namespace vzt {

namespace {

constexpr char16_t kDelete = 127;

bool IsLetterKey(int key) { return key >= Qt::Key_A && key <= Qt::Key_Z; }

}  // namespace

char16_t TypedCharacter(const QKeyEvent& event) {
  const int key = event.key();
  const bool control = event.modifiers().testFlag(Qt::ControlModifier);
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return kCarriageReturn;
  if (key == Qt::Key_Backspace) return control ? kDelete : kBackspace;
  if (key == Qt::Key_Escape) return kEscape;
  if (control) return IsLetterKey(key) ? static_cast<char16_t>(key - Qt::Key_A + 1) : 0;
  const QString text = event.text();
  if (text.size() != 1) return 0;
  const char16_t c = text.at(0).unicode();
  return c < 32 || c == kDelete ? 0 : c;
}

bool IsClipboardOrUndoKey(const QKeyEvent& event) {
  for (QKeySequence::StandardKey k : {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Copy,
                                      QKeySequence::Undo, QKeySequence::Redo})
    if (event.matches(k)) return true;
  return false;
}

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace vzt
