#include "settings/number_conversions.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "protocol/utf8.h"

namespace korvane {

namespace {

// A decimal number taken apart: value = sign × 0.digits × 10^pointPos. `digits` has neither
// leading nor trailing zeros, so it is empty exactly when the value is zero. Keeping the digits
// as text lets us floor exactly and clamp absurd exponents before any double is formed.
struct Decimal {
  bool negative = false;
  std::string digits;
  long pointPos = 0;
};

// Beyond this many decimal places the value is surely infinite or zero as a double; clamping the
// exponent here keeps "1e99999999999999999999" from overflowing our own arithmetic.
constexpr long kExponentClamp = 100000;
constexpr long kBeyondDouble = 400;

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isExponentLetter(char c) {
  return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Collects the digits of one number, ignoring leading zeros, and remembers where the point is.
class DecimalBuilder {
 public:
  void integerDigit(char c) {
    addDigit(c);
    if (!dec_.digits.empty()) ++dec_.pointPos;
  }
  void fractionDigit(char c) {
    if (dec_.digits.empty() && c == '0') {
      --dec_.pointPos;
      return;
    }
    addDigit(c);
  }
  void exponentDigit(char c) {
    if (exponent_ < kExponentClamp) exponent_ = exponent_ * 10 + (c - '0');
  }
  void exponentNegative() { exponentNegative_ = true; }
  void negative() { dec_.negative = true; }

  Decimal finish() {
    while (!dec_.digits.empty() && dec_.digits.back() == '0') dec_.digits.pop_back();
    if (dec_.digits.empty()) {
      dec_.pointPos = 0;
      return dec_;
    }
    dec_.pointPos += exponentNegative_ ? -exponent_ : exponent_;
    return dec_;
  }

 private:
  void addDigit(char c) {
    if (dec_.digits.empty() && c == '0') return;
    dec_.digits.push_back(c);
  }
  Decimal dec_;
  long exponent_ = 0;
  bool exponentNegative_ = false;
};

// The double nearest to 0.digits × 10^pointPos, without sign; infinity when it is too large.
double magnitude(const std::string& digits, long pointPos) {
  if (digits.empty() || pointPos < -kBeyondDouble) return 0.0;
  if (pointPos > kBeyondDouble) return std::numeric_limits<double>::infinity();
  // std::from_chars is locale-independent: the Qt shell sets the process locale, and a decimal
  // comma there must not change what a field means.
  std::string text = "0." + digits + "e" + std::to_string(pointPos);
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    return pointPos > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

double toDouble(const Decimal& d) {
  double m = magnitude(d.digits, d.pointPos);
  return d.negative ? -m : m;
}

// The greatest whole number not above the decimal, computed on the digits so that
// "0.99999999999999999999" floors to 0 although it would round to 1 as a double.
double floorOf(const Decimal& d) {
  if (d.digits.empty()) return 0.0;
  if (d.pointPos <= 0) return d.negative ? -1.0 : 0.0;
  const auto whole = static_cast<std::size_t>(d.pointPos);
  const bool hasFraction = d.digits.size() > whole;
  double m = hasFraction ? magnitude(d.digits.substr(0, whole), d.pointPos)
                         : magnitude(d.digits, d.pointPos);
  if (d.negative) return hasFraction ? -(m + 1.0) : -m;
  return m;
}

bool isSkippedBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

// One reader for both readings of a number. Lenient (LeadingNumber): blanks, tabs and line feeds
// are skipped wherever they stand, and the number may stop anywhere. Strict (WholeNumber): only
// U+0020 blanks around the number, and the number must be the whole text.
class NumberScanner {
 public:
  NumberScanner(std::string_view text, bool strict) : text_(text), strict_(strict) {
    if (strict_) {
      const auto first = text_.find_first_not_of(' ');
      text_ = first == std::string_view::npos
                  ? std::string_view()
                  : text_.substr(first, text_.find_last_not_of(' ') - first + 1);
    }
    skip();
  }

  // [sign] digits [. digits] [exponent letter [sign] digits]; nothing when no digit comes, or,
  // strictly, when anything else is left over.
  std::optional<Decimal> scan() {
    DecimalBuilder number;
    if (peek() == '+' || peek() == '-') {
      if (peek() == '-') number.negative();
      advance();
    }
    bool anyDigit = false;
    for (; isDigit(peek()); advance(), anyDigit = true) number.integerDigit(peek());
    if (peek() == '.') {
      for (advance(); isDigit(peek()); advance(), anyDigit = true) number.fractionDigit(peek());
    }
    if (!anyDigit) return std::nullopt;
    if (isExponentLetter(peek())) {
      // Leniently, an exponent letter with no digit after it is not part of the number: "5E" is 5.
      const std::size_t letter = pos_;
      advance();
      bool negativeExponent = false;
      if (peek() == '+' || peek() == '-') {
        negativeExponent = peek() == '-';
        advance();
      }
      if (isDigit(peek())) {
        if (negativeExponent) number.exponentNegative();
        for (; isDigit(peek()); advance()) number.exponentDigit(peek());
      } else if (strict_) {
        return std::nullopt;
      } else {
        pos_ = letter;
      }
    }
    if (strict_ && pos_ != text_.size()) return std::nullopt;
    return number.finish();
  }

 private:
  char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
  void advance() {
    ++pos_;
    skip();
  }
  void skip() {
    while (!strict_ && pos_ < text_.size() && isSkippedBlank(text_[pos_])) ++pos_;
  }

  std::string_view text_;
  bool strict_;
  std::size_t pos_ = 0;
};

}  // namespace

// Both readings take a full-width digit, sign or point as its ASCII form: the value sent is the
// value the operator sees, whatever the input method typed.
double LeadingNumber(std::string_view text) {
  const std::string halfWidth = HalfWidth(text);
  const std::optional<Decimal> number = NumberScanner(halfWidth, false).scan();
  return number ? toDouble(*number) : 0.0;
}

// A value too large for a double ("1e999") is a failure as well: no caller can use infinity.
std::optional<double> WholeNumber(std::string_view text) {
  const std::string halfWidth = HalfWidth(text);
  const std::optional<Decimal> number = NumberScanner(halfWidth, true).scan();
  if (!number) return std::nullopt;
  const double value = floorOf(*number);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

// Up to 15 significant digits, shortest form. Plain decimals are used from 1E-15 up to just
// below 1E+15; outside that we write the exponent form <mantissa>E+NN / E-NN, whose mantissa
// follows the same rules (1E+15, 1.5E+20, 1E-16). LeadingNumber reads both forms, and reading
// the text back and writing it again gives the same text. Non-finite values, which callers keep
// away from commands, are written "inf", "-inf" and "nan".
std::string NumberText(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0.0) return "0";

  // Rounding the largest doubles up to 15 digits would give a text above the largest double,
  // which reads back as infinity; those few values are written rounded down instead.
  constexpr double kLargestFifteenDigit = 1.79769313486231e308;
  const bool negative = value < 0;
  double m = std::fabs(value);
  if (m > kLargestFifteenDigit) m = kLargestFifteenDigit;

  char buffer[64];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, m, std::chars_format::scientific, 14);
  std::string_view sci(buffer, static_cast<std::size_t>(end - buffer));  // d.ddddddddddddddde±x
  const auto e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e)) {
    if (c != '.') digits.push_back(c);
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exponent = std::atoi(std::string(sci.substr(e + 1)).c_str());

  std::string out = negative ? "-" : "";
  if (exponent >= 15 || exponent < -15) {
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += exponent < 0 ? "E-" : "E+";
    out += std::to_string(std::abs(exponent));  // 15 and more: two digits at least
    return out;
  }
  if (exponent < 0) {
    out += "." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    return out;
  }
  const auto whole = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= whole) {
    out += digits + std::string(whole - digits.size(), '0');
  } else {
    out += digits.substr(0, whole) + "." + digits.substr(whole);
  }
  return out;
}

}  // namespace korvane
