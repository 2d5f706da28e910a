#include "NumberText.h"

#include <atomic>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace vzt {

namespace {

std::atomic<char> forced_separator{'\0'};

constexpr int kSignificantDigits = 15;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits and the decimal exponent of value = 0.d1d2d3... * 10^exponent, rounded to 15
// significant digits, trailing zeros removed.
void SignificantDigits(double magnitude, std::string& digits, int& exponent) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                           kSignificantDigits - 1);
  std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
  std::size_t e = s.find('e');
  digits.clear();
  for (char c : s.substr(0, e))
    if (IsDigit(c)) digits.push_back(c);
  int sciExponent = 0;
  std::string_view exp = s.substr(e + 1);
  if (!exp.empty() && exp.front() == '+') exp.remove_prefix(1);
  std::from_chars(exp.data(), exp.data() + exp.size(), sciExponent);
  exponent = sciExponent + 1;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

}  // namespace

char DecimalSeparator() {
  char forced = forced_separator.load();
  if (forced != '\0') return forced;
  const std::lconv* lc = std::localeconv();
  if (lc && lc->decimal_point && lc->decimal_point[0] != '\0' && lc->decimal_point[1] == '\0')
    return lc->decimal_point[0];
  return '.';
}

void SetDecimalSeparator(char separator) { forced_separator.store(separator); }

std::string FloatToText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";

  std::string digits;
  int exponent = 0;
  SignificantDigits(std::fabs(value), digits, exponent);

  const char sep = DecimalSeparator();
  std::string out = value < 0 ? "-" : "";
  if (exponent > kSignificantDigits || exponent < -3) {
    out += digits[0];
    if (digits.size() > 1) {
      out += sep;
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(exponent - 1);
  } else if (exponent <= 0) {
    out += '0';
    out += sep;
    out.append(static_cast<std::size_t>(-exponent), '0');
    out += digits;
  } else {
    const auto whole = static_cast<std::size_t>(exponent);
    if (digits.size() <= whole) {
      out += digits;
      out.append(whole - digits.size(), '0');
    } else {
      out.append(digits, 0, whole);
      out += sep;
      out.append(digits, whole);
    }
  }
  return out;
}

std::optional<double> TextToFloat(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  const char sep = DecimalSeparator();
  std::string normal;  // the same number spelled for from_chars
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

  bool anyDigit = false;
  for (; i < text.size() && IsDigit(text[i]); ++i, anyDigit = true) normal += text[i];
  if (i < text.size() && text[i] == sep) {
    normal += '.';
    for (++i; i < text.size() && IsDigit(text[i]); ++i, anyDigit = true) normal += text[i];
  }
  if (!anyDigit) return std::nullopt;

  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    normal += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
    bool expDigit = false;
    for (; i < text.size() && IsDigit(text[i]); ++i, expDigit = true) normal += text[i];
    if (!expDigit) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;

  double value = 0;
  auto res = std::from_chars(normal.data(), normal.data() + normal.size(), value);
  if (res.ec != std::errc() || res.ptr != normal.data() + normal.size()) return std::nullopt;
  return negative ? -value : value;
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(value);
}

}  // namespace vzt
