#pragma once
// A virtual-time rig for the handlers: a fake window, port, operator and controller on a clock
// that only moves when a handler waits. A 12-second read of all settings runs in microseconds and
// every write carries its exact virtual timestamp.

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "protocol/controls.h"
#include "app/form1.h"
#include "app/seams.h"

namespace korvane::kit {

class VirtualLoop : public EventLoop {
 public:
  double nowMs = 0;
  // The local clock at virtual time 0.
  std::chrono::sys_time<std::chrono::milliseconds> clockAtZero =
      std::chrono::sys_days{std::chrono::year{2026} / 7 / 5} + std::chrono::hours{21};
  struct WaitCall {
    double start, ms;
  };
  std::vector<WaitCall> waits;

  void at(double t, std::function<void()> fn) { due_.emplace(t, std::move(fn)); }
  void after(double ms, std::function<void()> fn) { at(nowMs + ms, std::move(fn)); }

  bool quitting = false;
  void quit() override { quitting = true; }
  void Wait(double ms) override {
    waits.push_back({nowMs, ms});
    if (quitting) return;
    const double target = nowMs + ms;
    runUntil(target);
    nowMs = std::max(nowMs, target);
  }
  void processEvents() override { runUntil(nowMs); }
  // Runs everything scheduled, as the main loop would between handlers.
  void drain() { runUntil(1e18); }
  void runUntil(double t) {
    while (!due_.empty() && due_.begin()->first <= t) {
      auto it = due_.begin();
      nowMs = std::max(nowMs, it->first);
      auto fn = std::move(it->second);
      due_.erase(it);
      fn();
    }
  }
  LocalDateTime now() const override {
    using namespace std::chrono;
    const auto t = clockAtZero + milliseconds(static_cast<long long>(nowMs));
    const auto day = floor<days>(t);
    const year_month_day ymd{day};
    const hh_mm_ss hms{floor<seconds>(t - day)};
    return {static_cast<int>(ymd.year()),
            static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())),
            static_cast<int>(hms.hours().count()),
            static_cast<int>(hms.minutes().count()),
            static_cast<int>(hms.seconds().count())};
  }

 private:
  std::multimap<double, std::function<void()>> due_;  // equal times keep their order
};

class FakePanel : public Panel {
 public:
  std::map<std::string, std::string, std::less<>> texts{
      {"Text2", "200"},    {"Text3", "8"},        {"Text4", "3.333"}, {"Text5", "144"},
      {"Text6", "200"},    {"Text7", "8"},        {"Text8", "3.333"}, {"Text9", "144"},
      {"Combo1", "COM10"}, {"Text1(99)", "Text1"}};
  Colour lamps[15] = {kGreen, kGreen, kGreen, kGreen, kGreen, kGreen, kGreen, kGreen,
                      kGreen, kGreen, kGreen, kGreen, kGreen, kGreen, kGreen};
  std::map<std::string, bool, std::less<>> enabled;
  std::map<std::string, bool, std::less<>> highlighted;
  bool busy = false;

  std::string text(std::string_view c) const override {
    auto it = texts.find(c);
    return it == texts.end() ? std::string() : it->second;
  }
  void setText(std::string_view c, std::string_view v) override {
    texts[std::string(c)] = std::string(v);
  }
  Colour lamp(int shape) const override { return lamps[shape]; }
  void setLamp(int shape, Colour colour) override { lamps[shape] = colour; }
  void setHighlighted(std::string_view c, bool on) override { highlighted[std::string(c)] = on; }
  bool isEnabled(std::string_view c) const override {
    auto it = enabled.find(c);
    return it == enabled.end() || it->second;
  }
  void setEnabled(std::string_view c, bool on) override { enabled[std::string(c)] = on; }
  void showBusy(bool shown) override { busy = shown; }
};

class FakePort : public Port {
 public:
  explicit FakePort(VirtualLoop& loop) : loop_(loop) {}
  struct Write {
    double t;
    std::string bytes;
  };
  std::vector<Write> writes;
  bool openable = true;
  std::function<void(std::string_view)> onWrite;

  int number() const override { return number_; }
  bool setNumber(int n) override {
    if (n < 1 || n > 255) return false;
    number_ = n;
    return true;
  }
  bool open() override {
    open_ = open_ || openable;
    return open_;
  }
  void close() override { open_ = false; }
  bool isOpen() const override { return open_; }
  void write(std::string_view bytes) override {
    writes.push_back({loop_.nowMs, std::string(bytes)});
    if (onWrite) onWrite(bytes);
  }
  std::vector<std::string> sent() const {
    std::vector<std::string> out;
    for (const auto& w : writes) out.push_back(w.bytes);
    return out;
  }
  std::vector<std::pair<double, std::string>> timed() const {
    std::vector<std::pair<double, std::string>> out;
    for (const auto& w : writes) out.emplace_back(w.t, w.bytes);
    return out;
  }

 private:
  VirtualLoop& loop_;
  int number_ = 1;
  bool open_ = false;
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

  MessageButton message(std::string_view text, std::string_view title,
                        MessageStyle style) override {
    messages.push_back({std::string(text), std::string(title), style});
    if (whileShown) whileShown();
    return answer;
  }
  void beep() override { ++beeps; }
};

// A controller that answers known queries after a delay, through the receive handler.
class FakeController {
 public:
  FakeController(VirtualLoop& loop, FakePort& port, Form1& form) : loop_(loop), form_(form) {
    port.onWrite = [this](std::string_view bytes) { onBytes(bytes); };
  }
  std::map<std::string, std::string> answers;  // query -> reply without "#"
  std::map<std::string, double> delayFor;      // per query; otherwise `delay`
  double delay = 50;

 private:
  void onBytes(std::string_view bytes) {
    auto it = answers.find(std::string(bytes));
    if (it == answers.end()) return;
    auto d = delayFor.find(it->first);
    const std::string reply = it->second + "#";
    loop_.after(d == delayFor.end() ? delay : d->second,
                [this, reply] { form_.MSComm1_OnComm(Form1::kReceiveEvent, reply); });
  }
  VirtualLoop& loop_;
  Form1& form_;
};

// A new empty folder under the system's temporary folder; `name` may be any text (a folder named
// in Japanese takes the wide paths on Windows).
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

// Everything wired together around one Form1.
struct Rig {
  explicit Rig(std::u8string_view folderName = u8"korvane") : dir(folderName) {}
  TempDir dir;
  VirtualLoop loop;
  FakePanel panel;
  FakePort port{loop};
  FakeOperator op;
  Form1 form{panel, port, loop, op, dir.path};

  void openPort() { port.open(); }
};

}  // namespace korvane::kit
