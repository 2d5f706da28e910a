#pragma once

#include <QString>

#include <optional>

class QLineEdit;

namespace vzt {

// Where the selection starts, or the caret when nothing is selected.
int SelectionStart(const QLineEdit& edit);
bool SelectionContains(const QLineEdit& edit, char16_t c);
bool TextContains(const QLineEdit& edit, char16_t c);

// The regional decimal separator as a character of the text.
char16_t DecimalSeparatorChar();

// Whether a box may take a decimal separator with this rounding step: the step written as
// text has one (0.1, 0.5), or there is no step (0).
bool StepAllowsDecimals(double precision);

// The general float-to-text form and its reverse, with the regional separator.
QString NumberToText(double value);
std::optional<double> TextToNumber(const QString& text);

}  // namespace vzt
