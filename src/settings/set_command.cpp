#include "settings/set_command.h"

#include <algorithm>
#include <cmath>

#include "protocol/command_set.h"
#include "protocol/utf8.h"
#include "settings/dispatch.h"
#include "settings/number_conversions.h"
#include "settings/reported_form.h"

namespace korvane {

namespace {

// Shown to the operator when a typed value could end the command early: the controller would
// run whatever follows "#" or ":" as a command of its own (an SSID "ab#:Te" would start the
// motors).
constexpr std::string_view kUnsafeValueMessage = "「#」「:」や制御文字を含む値は送信できません。";

SetOutcome nothing() {
  return {};
}
SetOutcome command(std::string text) {
  return {SetOutcome::Kind::Command, std::move(text)};
}
SetOutcome rejection() {
  return {SetOutcome::Kind::Rejection, std::string(kRejectionNotice)};
}
SetOutcome refused(std::string why = std::string(kUnsafeValueMessage)) {
  return {SetOutcome::Kind::Refused, std::move(why)};
}
// A refusal that names the row: "地平線 には、…".
SetOutcome refusedRow(const SetRow& row, std::string_view why) {
  return refused(std::string(fieldCaption(row.field)) + std::string(why));
}

std::string_view trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool canEndCommand(std::string_view value) {
  for (char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '#' || c == ':' || byte < 0x20 || byte == 0x7F) return true;
  }
  return false;
}

std::string framed(const SetRow& row, std::string_view value) {
  return std::string(row.prefix) + std::string(value) + "#";
}

// Typed text goes to the wire unchanged, so it must not be able to end the command.
SetOutcome typedValue(const SetRow& row, std::string_view value) {
  if (canEndCommand(value)) return refused();
  return command(framed(row, value));
}

// From 10^15 on (and below 10^-15) a number is written "1E+15": no setting the controller
// holds, and a three-digit row would even send its last three characters.
bool inExponentForm(std::string_view written) {
  return written.find('E') != std::string_view::npos;
}
SetOutcome tooLarge(const SetRow& row) {
  return refusedRow(row, " には、その大きさの数は書き込めません。");
}

SetOutcome wholeNumberRow(const SetRow& row, std::string_view text) {
  const auto whole = WholeNumber(text);
  // Three digits are all the controller takes: "1000" would go out as 000 and "-5" as 0-5.
  if (row.form == ValueForm::ThreeDigits && (!whole || *whole < 0 || *whole > 999)) {
    return refusedRow(row, " は 0 から 999 までの整数で入力してください。");
  }
  if (row.ranged) {
    // The controller is told of a refused value; a text that is no number is refused as well.
    if (!whole || *whole < row.low || *whole > row.high) return rejection();
  } else if (!whole) {
    return nothing();
  }
  std::string value = NumberText(*whole);
  if (inExponentForm(value)) return tooLarge(row);
  if (row.form == ValueForm::ThreeDigits) {
    value = "00" + value;
    value = value.substr(value.size() - 3);
  }
  return command(framed(row, value));
}

// The field shows the sign the other way round from the controller; turn it back.
SetOutcome signInvertedRow(const SetRow& row, std::string_view text) {
  const std::string_view typed = trimBlanks(text);
  if (typed.empty() || (typed.front() != '+' && typed.front() != '-')) return nothing();
  const std::string value =
      (typed.front() == '+' ? "-" : "+") + std::string(trimBlanks(typed.substr(1)));
  return typedValue(row, value);
}

}  // namespace

std::string WrittenValue(const SetRow& row, std::string_view command) {
  std::string_view value = command;
  if (value.starts_with(row.prefix)) value.remove_prefix(row.prefix.size());
  if (value.ends_with('#')) value.remove_suffix(1);
  if (row.form != ValueForm::SignInverted) return std::string(value);
  return SignInverted(value).value_or(std::string(value));
}

// Only the truly empty text counts as an empty field: blanks alone are a text like any other (in
// row 0 they are no number and get the rejection notice).
SetOutcome Build_SetCmd(const SetRow& row, std::string_view text) {
  if (row.skipsEmpty && text.empty()) return nothing();
  // The site rows go out as typed, and the controller reads them as ASCII: full-width forms are
  // taken as their ASCII characters, any other character outside ASCII is refused.
  std::string halfWidth;
  if ((row.form == ValueForm::Typed || row.form == ValueForm::SignInverted) &&
      row.reported.kind != Reported::Text) {
    halfWidth = HalfWidth(text);
    if (std::ranges::any_of(halfWidth,
                            [](char c) { return static_cast<unsigned char>(c) > 0x7F; })) {
      return refusedRow(row, " は半角の数字と記号（+ - * .）で入力してください。");
    }
    text = halfWidth;
  }

  switch (row.form) {
    case ValueForm::WholeNumber:
    case ValueForm::ThreeDigits:
      return wholeNumberRow(row, text);
    case ValueForm::LeadingNumber: {
      // The channel box writes even when empty, and would write 0 for it: no channel anyone
      // chose. The controller's own 0, once read into the box, still goes back as it is.
      if (!row.skipsEmpty && trimBlanks(HalfWidth(text)).empty()) {
        return refusedRow(row, " が空です。一覧から選んでください。");
      }
      // "1e999" has no value the controller could take; send nothing rather than "inf".
      const double value = LeadingNumber(text);
      if (!std::isfinite(value)) return nothing();
      const std::string written = NumberText(value);
      if (inExponentForm(written)) return tooLarge(row);
      return command(framed(row, written));
    }
    case ValueForm::SignInverted:
      return signInvertedRow(row, text);
    case ValueForm::Typed: {
      // A WiFi name longer than 32 bytes, or a password longer than 63, no controller keeps.
      const std::string_view typed = trimBlanks(text);
      if (row.reported.kind == Reported::Text) {
        if (auto form = ReportedFormProblem(row.reported, typed)) {
          return refusedRow(row, " が長すぎます。" + *form + "にしてください。");
        }
      }
      return typedValue(row, typed);
    }
  }
  return nothing();
}

}  // namespace korvane
