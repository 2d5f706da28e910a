#pragma once

#include <string>
#include <string_view>

namespace vzt {

// Formats a value by a number pattern such as "0.00 V", "##0 °C" or "###0 RPM":
//   0      a digit that is always shown
//   #      a digit shown only when it is significant
//   .      the first one is where the regional decimal separator goes; the digit places after
//          it say how many decimals are shown (later ones are ignored)
//   ,      anywhere in a section: group the whole part in thousands
//   ;      separates the sections for positive, negative and zero values; a negative value
//          formatted by its own section gets no minus sign
//   "..."  '...'  text copied without the quotes
// Every other character (blanks, units) is copied as it stands. The value is rounded to the
// decimals shown, halfway away from zero, as it reads in its shortest decimal form. An empty
// pattern, a magnitude of 1E18 or more, NaN and infinities give the general float-to-text form.
std::string FormatNumberPattern(std::string_view pattern, double value);
std::u16string FormatNumberPattern(std::u16string_view pattern, double value);

}  // namespace vzt
