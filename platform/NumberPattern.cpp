#include "platform/NumberPattern.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "platform/NumberText.h"

namespace vzt {

namespace {

// Beyond this the whole part no longer has exact digits worth laying out.
constexpr double kLargestPatterned = 1e18;
constexpr std::size_t kMaxSections = 3;

// A magnitude as digits, rounded to a number of decimals: the whole part without leading
// zeros (empty for zero) and exactly that many fraction digits.
struct Digits {
  std::string whole;
  std::string fraction;

  bool IsZero() const {
    for (char c : whole + fraction)
      if (c != '0') return false;
    return true;
  }
};

bool ShortestDigits(double magnitude, Digits& out) {
  // The shortest fixed form of a double below 1E18 fits easily, denormals included.
  char buf[400];
  const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed);
  if (res.ec != std::errc()) return false;
  const std::string_view s(buf, static_cast<std::size_t>(res.ptr - buf));
  const std::size_t dot = s.find('.');
  out.whole = std::string(s.substr(0, dot));
  out.fraction = dot == std::string_view::npos ? std::string() : std::string(s.substr(dot + 1));
  const std::size_t firstSignificant = out.whole.find_first_not_of('0');
  out.whole.erase(0, firstSignificant == std::string::npos ? out.whole.size() : firstSignificant);
  return true;
}

void RoundToDecimals(Digits& d, std::size_t decimals) {
  if (d.fraction.size() <= decimals) {
    d.fraction.append(decimals - d.fraction.size(), '0');
    return;
  }
  const bool up = d.fraction[decimals] >= '5';
  d.fraction.resize(decimals);
  if (!up) return;
  std::string all = d.whole + d.fraction;
  bool carry = true;
  for (std::size_t i = all.size(); carry && i-- > 0;) {
    if (all[i] == '9') {
      all[i] = '0';
    } else {
      ++all[i];
      carry = false;
    }
  }
  if (carry) all.insert(all.begin(), '1');
  d.whole = all.substr(0, all.size() - decimals);
  d.fraction = all.substr(all.size() - decimals);
}

template <class CharT>
std::basic_string<CharT> Widen(const std::string& ascii) {
  return std::basic_string<CharT>(ascii.begin(), ascii.end());
}

template <class CharT>
bool IsQuote(CharT c) {
  return c == CharT('"') || c == CharT('\'');
}

template <class CharT>
std::vector<std::basic_string_view<CharT>> SplitSections(std::basic_string_view<CharT> pattern) {
  std::vector<std::basic_string_view<CharT>> sections;
  std::size_t start = 0;
  CharT quote = 0;
  for (std::size_t i = 0; i < pattern.size() && sections.size() + 1 < kMaxSections; ++i) {
    const CharT c = pattern[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (IsQuote(c)) {
      quote = c;
    } else if (c == CharT(';')) {
      sections.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  std::basic_string_view<CharT> last = pattern.substr(start);
  // A third separator ends the zero section; whatever follows is not used.
  quote = 0;
  for (std::size_t i = 0; i < last.size(); ++i) {
    if (quote != 0) {
      if (last[i] == quote) quote = 0;
    } else if (IsQuote(last[i])) {
      quote = last[i];
    } else if (last[i] == CharT(';')) {
      last = last.substr(0, i);
      break;
    }
  }
  sections.push_back(last);
  return sections;
}

// One section of a pattern, parsed once into its places and literal texts.
template <class CharT>
struct Section {
  enum class Kind { Place, Point, Literal };
  struct Token {
    Kind kind;
    std::basic_string<CharT> text;
  };

  std::vector<Token> tokens;
  bool grouping = false;
  bool hasPoint = false;
  std::size_t wholePlaces = 0;
  std::size_t requiredWhole = 0;  // from the first '0' of the whole part to its end
  std::size_t fractionPlaces = 0;
  std::size_t requiredFraction = 0;  // up to the last '0' of the fraction part

  void AddLiteral(std::basic_string_view<CharT> text) {
    if (text.empty()) return;
    if (tokens.empty() || tokens.back().kind != Kind::Literal) tokens.push_back({Kind::Literal, {}});
    tokens.back().text.append(text);
  }

  void AddPlace(bool zero) {
    tokens.push_back({Kind::Place, {}});
    if (hasPoint) {
      ++fractionPlaces;
      if (zero) requiredFraction = fractionPlaces;
    } else {
      if (zero && requiredWhole == 0) requiredWhole = 1;
      else if (requiredWhole > 0) ++requiredWhole;
      ++wholePlaces;
    }
  }

  explicit Section(std::basic_string_view<CharT> s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
      const CharT c = s[i];
      if (IsQuote(c)) {
        std::size_t end = s.find(c, i + 1);
        if (end == std::basic_string_view<CharT>::npos) end = s.size();
        AddLiteral(s.substr(i + 1, end - i - 1));
        i = end;
      } else if (c == CharT('0') || c == CharT('#')) {
        AddPlace(c == CharT('0'));
      } else if (c == CharT('.')) {
        if (!hasPoint) tokens.push_back({Kind::Point, {}});
        hasPoint = true;
      } else if (c == CharT(',')) {
        grouping = true;
      } else {
        AddLiteral(s.substr(i, 1));
      }
    }
  }
};

template <class CharT>
class Renderer {
 public:
  Renderer(const Section<CharT>& section, const Digits& digits)
      : section_(section), whole_(digits.whole), fraction_(digits.fraction) {
    if (whole_.size() < section.requiredWhole)
      whole_.insert(0, section.requiredWhole - whole_.size(), '0');
    while (fraction_.size() > section.requiredFraction && fraction_.back() == '0')
      fraction_.pop_back();
  }

  std::basic_string<CharT> Run(bool minus) {
    if (minus) out_ += CharT('-');
    std::size_t wholePlace = 0, fractionPlace = 0;
    bool afterPoint = false;
    for (const auto& token : section_.tokens) {
      switch (token.kind) {
        case Section<CharT>::Kind::Literal:
          out_ += token.text;
          break;
        case Section<CharT>::Kind::Point:
          // Without whole places the whole digits still have to go somewhere.
          if (section_.wholePlaces == 0) EmitWhole(0, whole_.size());
          if (!fraction_.empty()) out_ += static_cast<CharT>(DecimalSeparator());
          afterPoint = true;
          break;
        case Section<CharT>::Kind::Place:
          if (afterPoint)
            EmitFractionPlace(fractionPlace++);
          else
            EmitWholePlace(wholePlace++);
          break;
      }
    }
    return out_;
  }

 private:
  // Whole places take the digits right-aligned; the first one also takes every digit that
  // has no place of its own.
  void EmitWholePlace(std::size_t place) {
    const std::size_t placesToRight = section_.wholePlaces - place;
    if (whole_.size() < placesToRight) return;
    const std::size_t index = whole_.size() - placesToRight;
    EmitWhole(place == 0 ? 0 : index, index + 1);
  }

  void EmitWhole(std::size_t from, std::size_t to) {
    const CharT thousands = DecimalSeparator() == ',' ? CharT('.') : CharT(',');
    for (std::size_t i = from; i < to; ++i) {
      out_ += static_cast<CharT>(whole_[i]);
      const std::size_t rest = whole_.size() - 1 - i;
      if (section_.grouping && rest > 0 && rest % 3 == 0) out_ += thousands;
    }
  }

  void EmitFractionPlace(std::size_t place) {
    if (place < fraction_.size()) out_ += static_cast<CharT>(fraction_[place]);
  }

  const Section<CharT>& section_;
  std::string whole_;
  std::string fraction_;
  std::basic_string<CharT> out_;
};

template <class CharT>
std::basic_string<CharT> Format(std::basic_string_view<CharT> pattern, double value) {
  if (pattern.empty() || !std::isfinite(value) || std::fabs(value) >= kLargestPatterned)
    return Widen<CharT>(FloatToText(value));

  const auto texts = SplitSections(pattern);
  auto usable = [&](std::size_t i) { return i < texts.size() && !texts[i].empty(); };

  std::size_t chosen = 0;
  bool minus = value < 0;
  if (minus && usable(1)) {
    chosen = 1;
    minus = false;
  }
  Section<CharT> section(texts[chosen]);
  Digits digits;
  if (!ShortestDigits(std::fabs(value), digits)) return Widen<CharT>(FloatToText(value));
  RoundToDecimals(digits, section.fractionPlaces);
  if (digits.IsZero()) {
    minus = false;
    if (usable(2)) {
      section = Section<CharT>(texts[2]);
      digits = Digits{};
      RoundToDecimals(digits, section.fractionPlaces);
    }
  }
  return Renderer<CharT>(section, digits).Run(minus);
}

}  // namespace

std::string FormatNumberPattern(std::string_view pattern, double value) {
  return Format(pattern, value);
}

std::u16string FormatNumberPattern(std::u16string_view pattern, double value) {
  return Format(pattern, value);
}

}  // namespace vzt
