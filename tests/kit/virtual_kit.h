#pragma once
// The handlers on a virtual clock: the window in memory, a fake port and operator, and the
// simulator's controller model on the far end of the line. The clock only moves when a handler
// waits, so a 12-second read runs in microseconds and every write carries its exact virtual time.

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/backup_sequences.h"
#include "app/form1.h"
#include "app/memory_panel.h"
#include "app/port_events.h"
#include "app/port_names.h"
#include "app/seams.h"
#include "sim/controller_model.h"

namespace korvane::kit {

class VirtualLoop : public EventLoop {
 public:
  double nowMs = 0;
  std::chrono::sys_time<std::chrono::milliseconds> clockAtZero =  // the local clock at time 0
      std::chrono::sys_days{std::chrono::year{2026} / 7 / 5} + std::chrono::hours{21};
  bool quitting = false;

  void at(double t, std::function<void()> fn) { due_.emplace(t, std::move(fn)); }
  void after(double ms, std::function<void()> fn) { at(nowMs + ms, std::move(fn)); }
  void Wait(double ms) override {
    if (quitting) return;
    const double end = nowMs + ms;
    runUntil(end);
    nowMs = std::max(nowMs, end);
  }
  void processEvents() override { runUntil(nowMs); }
  void post(std::function<void()> fn) override { at(nowMs, std::move(fn)); }
  void quit() override { quitting = true; }
  void drain() { runUntil(1e18); }  // as the main loop would between handlers
  LocalDateTime now() const override {
    using namespace std::chrono;
    const auto t = clockAtZero + milliseconds(static_cast<long long>(nowMs));
    const year_month_day ymd{floor<days>(t)};
    const hh_mm_ss hms{floor<seconds>(t - floor<days>(t))};
    return {int(ymd.year()),          int(unsigned(ymd.month())), int(unsigned(ymd.day())),
            int(hms.hours().count()), int(hms.minutes().count()), int(hms.seconds().count())};
  }

 private:
  void runUntil(double t) {
    while (!due_.empty() && due_.begin()->first <= t) {
      auto node = due_.extract(due_.begin());  // equal times keep their order
      nowMs = std::max(nowMs, node.key());
      node.mapped()();
    }
  }
  std::multimap<double, std::function<void()>> due_;
};

using Writes = std::vector<std::pair<double, std::string>>;  // virtual time, bytes

// The port numbers an adapter takes, and the events it would hand on, are the adapters' own.
class FakePort : public AdapterPort {
 public:
  explicit FakePort(VirtualLoop& loop) : AdapterPort(nullptr), loop_(loop) {}
  Writes writes;
  bool opened = false;
  std::function<void(std::string_view)> onWrite;
  std::map<int, OpenTrouble> refused;  // ports that do not open, and why

  bool open() override {
    const auto refusal = refused.find(number());
    openTrouble_ = refusal == refused.end() ? OpenTrouble::None : refusal->second;
    return opened = openTrouble_ == OpenTrouble::None;
  }
  void close() override { opened = false; }
  bool isOpen() const override { return opened; }
  // From this write on (counted from 0), the line fails: the write does not go out, the port
  // closes as an adapter closes it, and `lost` runs (as the adapter's events would).
  std::size_t failFromWrite = SIZE_MAX;
  std::function<void()> lost;
  bool write(std::string_view bytes) override {
    if (!opened) return false;
    if (attempts_++ >= failFromWrite) {
      opened = false;
      if (lost) lost();
      return false;
    }
    writes.emplace_back(loop_.nowMs, bytes);
    if (onWrite) onWrite(bytes);
    return true;
  }
  std::vector<std::string> sent() const {  // the bytes of every write
    std::vector<std::string> out;
    for (const auto& [time, bytes] : writes) out.push_back(bytes);
    return out;
  }

 private:
  VirtualLoop& loop_;
  std::size_t attempts_ = 0;
};

class FakeOperator : public Operator {
 public:
  struct Message {
    std::string text, title;
    MessageStyle style;
  };
  std::vector<Message> messages;
  int beeps = 0;
  MessageButton answer = MessageButton::Ok;
  std::function<void()> whileShown;  // runs while the box is up

  MessageButton message(std::string_view text, std::string_view title, MessageStyle s) override {
    messages.push_back({std::string(text), std::string(title), s});
    if (whileShown) whileShown();
    return answer;
  }
  void beep() override { ++beeps; }
};

// A fresh folder, on every system (a test names it in Japanese to see wide paths through).
struct TempDir {
  std::filesystem::path path;
  explicit TempDir(std::u8string_view name = u8"korvane") {
    static std::mt19937_64 random{std::random_device{}()};
    do {
      path = std::filesystem::temp_directory_path() / name;
      path += "-" + std::to_string(random());
    } while (!std::filesystem::create_directory(path));
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

// One Form1 with everything around it. The controller answers each query `answerMs` after it; a
// negative delay keeps it silent.
struct Rig {
  TempDir dir;
  VirtualLoop loop;
  MemoryPanel panel;
  FakePort port{loop};
  FakeOperator op;
  Form1 form{panel, port, loop, op, dir.path};
  sim::ControllerModel controller;
  double answerMs = 50;

  explicit Rig(std::u8string_view folderName = u8"korvane") : dir(folderName) {
    port.onWrite = [this](std::string_view bytes) {
      for (const auto& ex : controller.receive(bytes, sim::Millis(long(loop.nowMs)))) {
        if (!ex.reply.empty() && answerMs >= 0) {
          loop.after(answerMs, [this, reply = ex.reply] { receive(reply); });
        }
      }
    };
  }
  Rig& open() {
    port.open();
    return *this;
  }
  // A button, by the control name the window presses it with.
  void press(std::string_view control) { form.Click(control); }
  void receive(std::string_view bytes) { form.MSComm1_OnComm(Form1::kReceiveEvent, bytes); }
};

// The rig's controller compared with its own backup edited so that max_rate (450) and backlash_ra
// (020) differ.
inline BackupComparison ComparedWithTwoChanged(Rig& rig) {
  const auto file = rig.dir.path / "two-changed.ini";
  rig.form.Backup_Save(file, {});
  std::stringstream text;
  text << std::ifstream(file).rdbuf();
  std::ofstream(file) << std::regex_replace(
      std::regex_replace(text.str(), std::regex("max_rate=\\d+"), "max_rate=450"),
      std::regex("backlash_ra=\\d+"), "backlash_ra=020");
  return rig.form.Backup_Compare(file, {});
}

}  // namespace korvane::kit
