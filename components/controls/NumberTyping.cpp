#include "components/controls/NumberTyping.h"

#include <QLineEdit>

#include "platform/NumberText.h"

namespace vzt {

int SelectionStart(const QLineEdit& edit) {
  return edit.hasSelectedText() ? edit.selectionStart() : edit.cursorPosition();
}

bool SelectionContains(const QLineEdit& edit, char16_t c) {
  return edit.selectedText().contains(QChar(c));
}

bool TextContains(const QLineEdit& edit, char16_t c) { return edit.text().contains(QChar(c)); }

char16_t DecimalSeparatorChar() { return static_cast<unsigned char>(DecimalSeparator()); }

bool StepAllowsDecimals(double precision) {
  return precision == 0 ||
         FloatToText(precision).find(DecimalSeparator()) != std::string::npos;
}

QString NumberToText(double value) { return QString::fromStdString(FloatToText(value)); }

std::optional<double> TextToNumber(const QString& text) {
  // Anything outside ASCII cannot be part of a number.
  for (QChar c : text)
    if (c.unicode() > 127) return std::nullopt;
  return TextToFloat(text.toStdString());
}

}  // namespace vzt
