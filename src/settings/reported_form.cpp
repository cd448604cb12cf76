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

// "85", "-10*00", "+139*44": whole degrees, then optionally "*" and two digits of minutes.
bool isAngle(std::string_view text, double most) {
  const std::string_view body = withoutSign(text);
  const std::size_t star = body.find('*');
  const std::string_view degrees = body.substr(0, star);
  if (!allDigits(degrees) || valueOf(degrees) > most) return false;
  if (star == std::string_view::npos) return true;
  const std::string_view minutes = body.substr(star + 1);
  return minutes.size() == 2 && allDigits(minutes) && valueOf(minutes) < 60;
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
