// Every button of the window by its control name, so that the window and the tests press them the
// same way. The table is made once, from the tables that say which buttons exist.

#include <functional>
#include <map>
#include <string>

#include "app/form1.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"

namespace korvane {

namespace {

using ClickHandler = std::function<void(Form1&)>;

std::map<std::string, ClickHandler, std::less<>> makeClickTable() {
  std::map<std::string, ClickHandler, std::less<>> table{
      {"Command11", &Form1::Command11_Click}, {"Command12", &Form1::Command12_Click},
      {"Command19", &Form1::Command19_Click}, {"Command28", &Form1::Command28_Click},
      {"Command29", &Form1::Command29_Click}, {"Command34", &Form1::Command34_Click},
      {"Command35", &Form1::Command35_Click}, {"Command36", &Form1::Command36_Click},
  };
  for (const Setting& s : kSettings) {
    if (s.readButton < 0) continue;
    table.emplace(command5(s.readButton), [&s](Form1& f) { f.Command5_Click(s); });
  }
  for (const SetRow& row : kSetRows) {
    table.emplace(command6(row.index), [&row](Form1& f) { f.Command6_Click(row); });
  }
  for (const OperationButton& b : kOperationButtons) {
    table.emplace(numbered("Command", b.button),
                  [n = b.button](Form1& f) { f.Operation_Click(n); });
  }
  for (const OptionRow& row : kOptionRows) {
    for (const int n : {row.onButton, row.offButton}) {
      table.emplace(numbered("Command", n), [n](Form1& f) { f.OptionSwitch_Click(n); });
    }
  }
  return table;
}

}  // namespace

void Form1::Click(std::string_view control) {
  static const auto table = makeClickTable();
  if (const auto it = table.find(control); it != table.end()) it->second(*this);
}

}  // namespace korvane
