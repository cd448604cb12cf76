// Buttons by control name, so that the window and the tests press them the same way.

#include <charconv>
#include <optional>
#include <string>

#include "protocol/command_set.h"
#include "app/form1.h"

namespace korvane {

namespace {
// "Command6(14)" with kind "Command6" gives 14.
std::optional<int> arrayIndex(std::string_view control, std::string_view kind) {
  if (!control.starts_with(kind) || control.size() < kind.size() + 3) return std::nullopt;
  std::string_view rest = control.substr(kind.size());
  if (rest.front() != '(' || rest.back() != ')') return std::nullopt;
  rest = rest.substr(1, rest.size() - 2);
  int value = 0;
  auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
  if (ec != std::errc() || end != rest.data() + rest.size()) return std::nullopt;
  return value;
}
}  // namespace

bool Form1::Click(std::string_view control) {
  if (auto i = arrayIndex(control, "Command5")) return Command5_Click(*i), true;
  if (auto i = arrayIndex(control, "Command6")) return Command6_Click(*i), true;
  if (!control.starts_with("Command")) return false;
  int n = 0;
  const std::string_view digits = control.substr(7);
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  if (ec != std::errc() || end != digits.data() + digits.size()) return false;
  for (const OperationButton& b : kOperationButtons) {
    if (b.button == n) return Operation_Click(n), true;
  }
  for (const OptionRow& row : kOptionRows) {
    if (row.onButton == n || row.offButton == n) return OptionSwitch_Click(n), true;
  }
  switch (n) {
    case 11:
      Command11_Click();
      return true;
    case 12:
      Command12_Click();
      return true;
    case 19:
      Command19_Click();
      return true;
    case 28:
      Command28_Click();
      return true;
    case 29:
      Command29_Click();
      return true;
    case 34:
      Command34_Click();
      return true;
    case 35:
      Command35_Click();
      return true;
    case 36:
      Command36_Click();
      return true;
    default:
      return false;
  }
}

}  // namespace korvane
