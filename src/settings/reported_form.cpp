#include "settings/reported_form.h"

#include <algorithm>

namespace korvane {

namespace {

bool allDigits(std::string_view text) {
  return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

// The value of a run of digits; too many digits for any limit read as too large.
double valueOf(std::string_view digits) {
  if (digits.size() > 9) return 1e18;
  double value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

bool hasSign(std::string_view text) {
  return !text.empty() && (text.front() == '+' || text.front() == '-');
}
std::string_view withoutSign(std::string_view text) {
  return hasSign(text) ? text.substr(1) : text;
}

std::string number(double value) {
  return std::to_string(static_cast<long long>(value));
}

// The digits at the front of text, taken off it.
std::string_view takeDigits(std::string_view& text) {
  const std::size_t end = std::min(text.find_first_not_of("0123456789"), text.size());
  const std::string_view digits = text.substr(0, end);
  text.remove_prefix(end);
  return digits;
}

// Two digits below 60 at the front of text, taken off it: minutes or seconds.
bool takeSixtieths(std::string_view& text) {
  const std::string_view digits = takeDigits(text);
  return digits.size() == 2 && valueOf(digits) < 60;
}

// What may close an angle: nothing, or "." and its digits.
bool isFractionOrNothing(std::string_view text) {
  return text.empty() || (text.front() == '.' && allDigits(text.substr(1)));
}

// Every form in which a controller reports an angle: whole degrees up to `most` after an optional
// sign, then the degree mark "*" (or ":") alone ("85*"), with two digits of minutes ("+35*40"),
// with seconds after "'" or ":" ("85*00'00", "85:00:00"), and a decimal fraction on the last
// number ("85.5", "35*40.5"). No controller reports a longer text than kLongestAngle.
constexpr std::size_t kLongestAngle = 16;
bool isAngle(std::string_view text, double most) {
  if (text.size() > kLongestAngle) return false;
  std::string_view rest = withoutSign(text);
  const std::string_view degrees = takeDigits(rest);
  if (degrees.empty() || valueOf(degrees) > most) return false;
  if (rest.empty() || (rest.front() != '*' && rest.front() != ':')) {
    return isFractionOrNothing(rest);
  }
  rest.remove_prefix(1);
  if (rest.empty()) return true;
  if (!takeSixtieths(rest)) return false;
  if (rest.empty() || (rest.front() != '\'' && rest.front() != ':')) {
    return isFractionOrNothing(rest);
  }
  rest.remove_prefix(1);
  return takeSixtieths(rest) && isFractionOrNothing(rest);
}

// "+09", "-3.5": a sign, whole hours, then optionally "." and one or two digits.
bool isHours(std::string_view text, double most) {
  if (!hasSign(text)) return false;
  const std::string_view body = text.substr(1);
  const std::size_t dot = body.find('.');
  const std::string_view hours = body.substr(0, dot);
  if (hours.size() > 2 || !allDigits(hours) || valueOf(hours) > most) return false;
  if (dot == std::string_view::npos) return true;
  const std::string_view fraction = body.substr(dot + 1);
  return fraction.size() <= 2 && allDigits(fraction);
}

}  // namespace

std::optional<std::string> ReportedFormProblem(const ReplyForm& form, std::string_view value) {
  switch (form.kind) {
    case Reported::Whole:
      if (allDigits(value) && valueOf(value) >= form.least && valueOf(value) <= form.most) break;
      return number(form.least) + " から " + number(form.most) + " までの整数";
    case Reported::SignedWhole:
      if (allDigits(withoutSign(value)) && valueOf(withoutSign(value)) <= form.most) break;
      return "符号の付いてもよい " + number(form.most) + " までの整数";
    case Reported::Angle:
      if (isAngle(value, form.most)) break;
      return number(form.most) + " 度までの角度（「45」や「+35*40」の形）";
    case Reported::Hours:
      if (isHours(value, form.most)) break;
      return "符号の付いた " + number(form.most) + " 時間までの時差（「+09」の形）";
    case Reported::Text:
      if (value.size() <= form.most) break;
      return number(form.most) + " バイトまでの文字";
  }
  return std::nullopt;
}

}  // namespace korvane
