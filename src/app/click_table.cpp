// Every button of the window by its control name, so that the window and the tests press them the
// same way. The table is made once, from the tables that say which buttons exist.

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "app/conversation.h"
#include "app/form1.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"
#include "window/layout.h"

namespace korvane {

namespace {

struct ClickEntry {
  PressKind kind;
  std::function<void(Form1&)> handler;
  // Presses of one group act on one setting (the ON and OFF of an option): a press waiting for its
  // turn gives way to a later one of its group. Empty: the control's own name.
  std::string group = {};
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
                    ClickEntry{K::Query, [n](Form1& f) { f.OptionSwitch_Click(n); },
                               numbered("option", row.replyKind)});
    }
  }
  return table;
}

const std::map<std::string, ClickEntry, std::less<>>& clickTable() {
  static const auto table = makeClickTable();
  return table;
}

std::string_view groupOf(std::string_view control) {
  const auto it = clickTable().find(control);
  return it == clickTable().end() || it->second.group.empty() ? control : it->second.group;
}

}  // namespace

std::string PressName(std::string_view control) {
  for (const ControlEntry& c : windowControls()) {
    if (c.name != control) continue;
    return c.access.empty() ? std::string(c.caption)
                            : std::string(c.access) + " " + std::string(c.caption);
  }
  return std::string(control);
}

void Form1::dropQueued(std::string_view why, bool keepConnect) {
  std::vector<std::string> dropped;
  std::erase_if(queued_, [&](const std::string& press) {
    const auto it = clickTable().find(press);
    if (keepConnect && it != clickTable().end() && it->second.kind == PressKind::Connect)
      return false;  // opens the port itself
    dropped.push_back(press);
    return true;
  });
  if (dropped.empty() || ending_) return;
  std::string text = std::string(why) + "次の操作は行っていません。";
  for (const std::string& press : dropped) text += "\n・" + PressName(press);
  operator_.message(text, "", MessageStyle::Ok);
}

void Form1::Click(std::string_view control) {
  const auto& table = clickTable();
  const auto it = table.find(control);
  // Every button of the window is in the table: a name that is none is a shell's mistake, told
  // at once rather than as a button that silently does nothing.
  if (it == table.end()) throw std::invalid_argument("no button is named " + std::string(control));
  const ClickEntry& entry = it->second;
  switch (DecidePress(entry.kind, port_.isOpen(), conversing_)) {
    case PressAction::Run:
      entry.handler(*this);
      break;
    case PressAction::Queue:
      // The last press wins: one waiting for the same setting (pressed twice, or ON then OFF)
      // gives way, and the new one runs in its own turn, after those pressed before it.
      std::erase_if(queued_, [&](const std::string& q) { return groupOf(q) == groupOf(control); });
      queued_.emplace_back(control);
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
  afterMiss_ = false;
  body();
  conversing_ = false;
  chosenSinceQuery_.clear();
  tellJournalTrouble();
  tellReadNotes();
  // The line failed under the conversation: what waited for it cannot run, and is named once.
  if (!port_.isOpen()) dropQueued("ポートが閉じたため、", true);
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
