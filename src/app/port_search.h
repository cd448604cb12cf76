#pragma once
// Finding the controller: each port that is there is opened in turn at the controller's line
// settings, sent one query that only reads (the maximum slew rate, which the controller answers
// with a number and "#"), given a second to answer, and closed again. Nothing else is written to
// any port, and a port another program holds is left to it. Only when the operator asks: from
// the "通信" menu, or `--find` on the command line.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/port_events.h"
#include "app/seams.h"

namespace korvane {

inline constexpr std::string_view kProbeQuery = ":GXE1#";
inline constexpr int kProbeReplyKind = 1;  // the catalogue row of that query: MaxRate
inline constexpr double kProbeAnswerMs = 1000;
inline constexpr double kProbeStepMs = 10;  // how often the wait for an answer looks at it
inline constexpr std::string_view kFindTitle = "コントローラーを探す";

// What has come so far from a port sent kProbeQuery: the controller's answer is a number of 1 to 4
// digits within its row's bound (999) and "#", alone; anything else is another device (a modem's
// "OK\r\n", an echo, noise, another make's "9999#").
enum class ReplyVerdict { Incomplete, Controller, OtherDevice };
ReplyVerdict JudgeProbeReply(std::string_view received);

enum class ProbeOutcome {
  Controller,
  NoAnswer,
  OtherDevice,
  InUse,
  NoPermission,
  StaleLock,
  CannotOpen
};

struct ProbeResult {
  int number = 0;
  std::string device;  // the port's tooltip text: its device, and its adapter where known
  ProbeOutcome outcome = ProbeOutcome::NoAnswer;
  std::vector<int> sameDevice;  // the other numbers that name this port's device
  std::string staleLock;        // the lock file that kept it closed (StaleLock)
};

// The numbers grouped by the device each names (device(n), links followed; an empty one is a
// device of its own), in the order of each group's first number: a device reached through two
// links is probed once.
std::vector<std::vector<int>> PortsByDevice(const std::vector<int>& numbers,
                                            const std::function<std::string(int)>& device);

// "COM1 = COM4": the port's numbers, the one probed first.
std::string PortNames(const ProbeResult& result);

struct SearchRun {
  std::vector<ProbeResult> results;  // in the order probed
  bool cancelled = false;
};

// Asked before each port and while a port's answer is awaited: done ports of total, the one now;
// false cancels the search (the port in hand is closed first). Told (total, total, 0) once the
// last port is done, so that a progress dialog can go before the result is shown.
using FindProgress = std::function<bool(int done, int total, int number)>;

// Probes each device of numbers once (Port::device tells which name the same one) on port (closed
// before and after; its number is restored), which delivers to events: the search takes them for
// itself meanwhile and gives them back. Progress counts devices.
SearchRun SearchPorts(const std::vector<int>& numbers, Port& port, PortEvents& events,
                      EventLoop& loop, const std::function<std::string(int)>& deviceText,
                      const FindProgress& progress);

std::vector<int> FoundPorts(const std::vector<ProbeResult>& results);

// The command line's exit status: 0 exactly one controller answered, 1 none, 3 several.
int FindExitStatus(const std::vector<ProbeResult>& results);
inline constexpr int kExitSeveral = 3;

// "COM5\t/dev/ttyUSB0, FT232R USB UART\tコントローラー": one line of `--find`.
std::string ProbeLine(const ProbeResult& result);

// Said where a port was refused for lack of permission, on a system with a dialout group.
inline constexpr std::string_view kDialoutHint =
    "ポートを開くには dialout グループに入っている必要があります"
    "（sudo adduser $USER dialout のあと、ログインし直してください）。";
bool RefusedForPermission(const std::vector<ProbeResult>& results);

// What the operator is told at the end: the port found, selected; several, the first selected;
// or none, with what each port gave, and on a system with a dialout group the hint that the
// user must be in it when a port was refused for lack of permission.
std::string FindMessage(const SearchRun& run, bool dialoutHint);

// The progress dialog's text: "COM5 を調べています（3 / 7）".
std::string FindProgressText(int done, int total, int number);

}  // namespace korvane
