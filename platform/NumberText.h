#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vzt {

// The regional decimal separator: the process locale's (LC_NUMERIC) unless overridden.
char DecimalSeparator();
// Tests and the GUI's regional settings can force one; '\0' returns to the locale's.
void SetDecimalSeparator(char separator);

// The general float-to-text form used everywhere a user value is shown: up to 15
// significant digits, no trailing zeros, the regional separator, scientific notation only
// for very large or very small magnitudes ("1E20", "1.5E-7").
std::string FloatToText(double value);

// Reads text written by a user or by FloatToText: optional blanks around it, a sign,
// digits with the regional separator, an optional exponent. Nothing else is accepted.
std::optional<double> TextToFloat(std::string_view text);

// Truncation toward zero that saturates at the int range instead of overflowing; NaN gives 0.
int TruncateToInt(double value);

}  // namespace vzt
