// Start-up, the port choice, connect/disconnect and the end of the program.

#include <algorithm>
#include <string>

#include "app/conversation.h"
#include "app/form1.h"
#include "app/port_names.h"
#include "app/port_use.h"
#include "files/local_file.h"
#include "files/port_file.h"
#include "protocol/catalogue.h"
#include "protocol/controls.h"
#include "window/layout.h"

namespace korvane {

namespace {
constexpr const char* kNoPortText = "現在使用できるポートがありません。";
constexpr const char* kCommErrorTitle = "通信エラー";
constexpr const char* kFindWhileOpenText =
    "ポートが開いています。開いているポートのコントローラーは見つかっています。"
    "ほかのポートを探すには、先に「切断」を押してください。";
}  // namespace

Form1::Form1(Panel& panel, Port& port, EventLoop& loop, Operator& op, std::filesystem::path folder)
    : panel_(panel), port_(port), loop_(loop), operator_(op), folder_(std::move(folder)) {}

void Form1::setPortsPresent(std::function<std::vector<int>()> present) {
  portsPresent_ = std::move(present);
}

void Form1::Form_Load() {
  if (portsPresent_) {
    for (const int number : portsPresent_()) listPort(number);
  }
  Load_param();
  Load_Set();
  presetShown_ = panel_.text(kCombo2);
  // The window's size is fixed by the shell.
}

void Form1::Form_Unload() {
  ending_ = true;
  COMM1close();
  loop_.quit();
}

void Form1::Load_param() {
  // A first run, or a number the port does not take, leaves port 1.
  if (const auto text = ReadLocalFile(folder_ / kPortFileName)) {
    if (const auto number = ParsePortFile(*text)) port_.setNumber(*number);
  }
  showPort();
}

void Form1::listPort(int number) {
  if (number <= kPortCount || std::ranges::find(listedBeyond_, number) != listedBeyond_.end())
    return;
  listedBeyond_.push_back(number);
  panel_.addItem(kCombo1, ComName(number));
}

// The box names the port "接続" will open, never its design text "COM10" while port 1 is used.
void Form1::showPort() {
  panel_.setText(kCombo1, ComName(port_.number()));
}

void Form1::Save_param() {
  operator_.beep();
  // Failing to remember the port is not worth a message: the operator picks it again.
  WriteLocalFile(folder_ / kPortFileName, FormatPortFile(port_.number()));
}

void Form1::COMM1open() {
  const bool wasOpen = port_.isOpen();
  if (!wasOpen) port_.open();
  if (!port_.isOpen()) {
    std::string text = kNoPortText;
    if (!wasOpen && port_.openTrouble() == OpenTrouble::StaleLock)
      text += "\n" + StaleLockText(PathUtf8(port_.staleLock())) + "。";
    operator_.message(text, kCommErrorTitle, MessageStyle::OkCancelExclamation);
    return;
  }
  if (!wasOpen) recvBuf_.clear();
  portLostShown_ = false;
}

void Form1::COMM1close() {
  if (port_.isOpen()) port_.close();
}

void Form1::Port_Lost() {
  if (port_.isOpen()) port_.close();
  if (portLostShown_ || ending_) return;
  portLostShown_ = true;
  // The presses waiting for their turn cannot run: named in the one message, not one box each.
  std::string text = kPortLostText;
  if (!queued_.empty()) {
    text += "\n\n次の操作は行っていません。";
    for (const std::string& press : queued_) text += "\n・" + PressName(press);
    queued_.clear();
  }
  operator_.message(text, kCommErrorTitle, MessageStyle::Critical);
}

void Form1::Combo1_LostFocus() {
  // Only the exact texts of the list count: "com3", " COM3" or a "COM20" the list does not have
  // keep the old number.
  const std::string text = panel_.text(kCombo1);
  const int named = ComNumber(text, kHighestPortNumber);
  const bool listed = (named >= 1 && named <= kPortCount) ||
                      std::ranges::find(listedBeyond_, named) != listedBeyond_.end();
  const int number = listed ? named : port_.number();
  // A click into the box and out again is no port choice: the connection stays. Another port
  // closes this one, and a press waiting for the old port's conversation goes with it.
  if (number != port_.number()) {
    COMM1close();
    port_.setNumber(number);
    dropQueued("ポートを変えたため、");
  }
  showPort();  // a text that is not taken ("COM20", "com3") gives way to the port in use
  Save_param();
}

void Form1::Find_Controller(PortEvents& events, const std::function<std::string(int)>& deviceText,
                            const FindProgress& progress) {
  if (port_.isOpen() || conversing_) {
    // The menu greys the entry while a port is open; a read still running after "切断" is told.
    operator_.message(conversing_ ? kBusyText : kFindWhileOpenText, kFindTitle, MessageStyle::Ok);
    return;
  }
  const std::vector<int> numbers = portsPresent_ ? portsPresent_() : std::vector<int>{};
  for (const int number : numbers) listPort(number);  // one plugged in since the start too
  SearchRun run;
  converse([&] {
    // The window closing ends the search before its next port.
    run = SearchPorts(
        numbers, port_, events, loop_, deviceText,
        [&](int done, int total, int number) { return progress(done, total, number) && !ending_; });
  });
  if (ending_) return;
  const std::vector<int> found = FoundPorts(run.results);
  if (!found.empty()) {
    port_.setNumber(found.front());
    showPort();
    Save_param();
  }
  operator_.message(FindMessage(run, PortsWantDialoutGroup()), kFindTitle,
                    found.empty() && !run.cancelled ? MessageStyle::Critical : MessageStyle::Ok);
}

void Form1::Command12_Click() {
  COMM1close();
  dropQueued("切断したため、");  // pressed before "切断": not to run on a port now closed
  for (const Setting& s : kSettings) {
    if (s.clearedOnDisconnect) panel_.setText(fieldName(s.field), "");
  }
  for (int shape = 1; shape <= kLampCount; ++shape) panel_.setLamp(shape, kTeal);
}

}  // namespace korvane
