#pragma once
// One line of the serial traffic log: the time since start in milliseconds with three decimals,
// what happened, and the bytes (or the device, or the error). Printable ASCII stands as it is;
// every other byte, and the backslash, as \xNN, so that one event is always one line and the
// exact bytes on the wire can be read back from it.
//   "12345.678 sent :GXE1#"   "12345.912 received 400#"   "3.001 opened /dev/ttyUSB0"

#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

std::string TrafficLogLine(std::chrono::nanoseconds sinceStart, std::string_view event,
                           std::string_view bytes = {});

// Whether the logging rules (QT_LOGGING_RULES, "a.b.debug=true;c=false", or one per line) turn
// the log on: the last rule for "korvane.serial.debug" or "korvane.serial" wins. The Windows
// program, which has no Qt, reads the same variable, so that one command line serves both.
bool TrafficLogWanted(std::string_view rules);

}  // namespace korvane

namespace korvane {

// What the log may show of the bytes: the WiFi passwords are masked, in the commands that write
// them (":Sq********#") and in the answers to the queries that read them ("********#"), so that a
// log sent along with a question gives no password away. Each answer is matched to its query in
// order, so a controller that answers late still has its passwords masked.
class TrafficMask {
 public:
  static constexpr std::string_view kMasked = "********";

  // A command as the log shows it.
  std::string sent(std::string_view command, double ms);
  // Received bytes as the log shows them; an answer in several pieces is masked in each.
  std::string received(std::string_view bytes, double ms);

 private:
  void forgetUnanswered(double ms);

  struct Query {
    double sentMs;
    bool secret;
  };
  std::deque<Query> awaited_;         // queries whose answers have not come, oldest first
  std::optional<bool> answerSecret_;  // set while an answer is coming in pieces
  double lastSecretQueryMs_ = -1e18;
};

}  // namespace korvane

namespace korvane {

// The serial traffic log of one port, the same in every shell: one line per open (naming the
// device opened), close, failure, command sent and chunk received, stamped from when the log began
// and with the passwords masked. The shell gives where a line goes and whether logging is on.
class TrafficLog {
 public:
  using Sink = std::function<void(const std::string& line)>;
  TrafficLog(std::function<bool()> on, Sink sink);

  void opened(std::string_view device) { line("opened", device); }
  void openFailed(std::string_view device, std::string_view why);
  void closed(std::string_view device) { line("closed", device); }
  void lineFailed(std::string_view why) { line("line failed", why); }
  void sent(std::string_view bytes);
  void received(std::string_view bytes);

 private:
  void line(std::string_view event, std::string_view bytes);
  std::chrono::nanoseconds sinceStart() const;

  std::function<bool()> on_;
  Sink sink_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  TrafficMask mask_;
};

// The log of a program without Qt's logging (the Windows programs): on when QT_LOGGING_RULES
// turns it on (TrafficLogWanted), as for the Qt program, so that one command line serves both;
// each line on standard error after "korvane.serial: ", as Qt prints the lines of its category.
TrafficLog StandardErrorTrafficLog();

}  // namespace korvane
