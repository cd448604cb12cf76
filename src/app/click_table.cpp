// Every button of the window by its control name, so that the window and the tests press them the
// same way. The table is made once, from the tables that say which buttons exist.

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "app/conversation.h"
#include "app/form1.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"

namespace korvane {

namespace {

struct ClickEntry {
  PressKind kind;
  std::function<void(Form1&)> handler;
};

std::map<std::string, ClickEntry, std::less<>> makeClickTable() {
  using K = PressKind;
  std::map<std::string, ClickEntry, std::less<>> table{
      {"Command11", {K::Connect, &Form1::Command11_Click}},
      {"Command12", {K::Local, &Form1::Command12_Click}},
      {"Command19", {K::Calculation, &Form1::Command19_Click}},
      {"Command28", {K::Local, &Form1::Command28_Click}},
      {"Command29", {K::Query, &Form1::Command29_Click}},
      {"Command34", {K::Command, &Form1::Command34_Click}},
      {"Command35", {K::Command, &Form1::Command35_Click}},
      {"Command36", {K::Command, &Form1::Command36_Click}},
  };
  for (const Setting& s : kSettings) {
    if (s.readButton < 0) continue;
    table.emplace(command5(s.readButton),
                  ClickEntry{K::Query, [&s](Form1& f) { f.Command5_Click(s); }});
  }
  for (const SetRow& row : kSetRows) {
    table.emplace(command6(row.index),
                  ClickEntry{K::Write, [&row](Form1& f) { f.Command6_Click(row); }});
  }
  for (const OperationButton& b : kOperationButtons) {
    table.emplace(numbered("Command", b.button),
                  ClickEntry{b.lamps.exists() ? K::LampCommand : K::Command,
                             [n = b.button](Form1& f) { f.Operation_Click(n); }});
  }
  for (const OptionRow& row : kOptionRows) {
    for (const int n : {row.onButton, row.offButton}) {
      table.emplace(numbered("Command", n),
                    ClickEntry{K::Query, [n](Form1& f) { f.OptionSwitch_Click(n); }});
    }
  }
  return table;
}

}  // namespace

void Form1::Click(std::string_view control) {
  static const auto table = makeClickTable();
  const auto it = table.find(control);
  if (it == table.end()) return;
  const ClickEntry& entry = it->second;
  switch (DecidePress(entry.kind, port_.isOpen(), conversing_)) {
    case PressAction::Run:
      entry.handler(*this);
      break;
    case PressAction::Queue:
      // Pressed twice while waiting: it still runs once.
      if (std::ranges::find(queued_, control) == queued_.end()) queued_.emplace_back(control);
      break;
    case PressAction::RefuseBusy:
      operator_.message(kBusyText, "", MessageStyle::Ok);
      break;
    case PressAction::RefuseNotConnected:
      operator_.message(kNotConnectedText, "", MessageStyle::Ok);
      break;
    case PressAction::RunNotConnected:
      operator_.message(kNotConnectedText, "", MessageStyle::Ok);
      entry.handler(*this);
      break;
  }
}

void Form1::converse(const std::function<void()>& body) {
  conversing_ = true;
  body();
  conversing_ = false;
  tellJournalTrouble();
  runQueued();
}

void Form1::runQueued() {
  if (runningQueued_) return;  // the loop below, further up the stack, takes the next one
  runningQueued_ = true;
  while (!conversing_ && !ending_ && !queued_.empty()) {
    const std::string next = std::move(queued_.front());
    queued_.erase(queued_.begin());
    Click(next);  // decided anew: the port may have closed meanwhile
  }
  runningQueued_ = false;
}

}  // namespace korvane
