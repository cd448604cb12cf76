#include "app/port_search.h"

#include <algorithm>

#include "app/port_names.h"
#include "app/port_use.h"
#include "files/local_file.h"
#include "protocol/catalogue.h"
#include "protocol/controls.h"

namespace korvane {

ReplyVerdict JudgeProbeReply(std::string_view received) {
  // The maximum slew rate the controller reports, at most 999 (a larger answer is dropped by the
  // window too): "9999#" is another make's answer.
  constexpr std::size_t kMostDigits = 4;
  const double most = settingByKind(kProbeReplyKind)->replyLimit;
  std::size_t digits = 0;
  double value = 0;
  while (digits < received.size() && received[digits] >= '0' && received[digits] <= '9')
    value = value * 10 + (received[digits++] - '0');
  if (digits > kMostDigits || value > most) return ReplyVerdict::OtherDevice;
  if (digits == received.size()) return ReplyVerdict::Incomplete;  // nothing, or digits so far
  if (received[digits] != '#' || digits == 0) return ReplyVerdict::OtherDevice;
  return digits + 1 == received.size() ? ReplyVerdict::Controller : ReplyVerdict::OtherDevice;
}

namespace {

ProbeOutcome openFailure(OpenTrouble trouble) {
  switch (trouble) {
    case OpenTrouble::InUse:
      return ProbeOutcome::InUse;
    case OpenTrouble::NoPermission:
      return ProbeOutcome::NoPermission;
    case OpenTrouble::StaleLock:
      return ProbeOutcome::StaleLock;
    case OpenTrouble::None:
    case OpenTrouble::Other:
      break;
  }
  return ProbeOutcome::CannotOpen;
}

std::string outcomeText(const ProbeResult& result) {
  switch (result.outcome) {
    case ProbeOutcome::Controller:
      return "コントローラー";
    case ProbeOutcome::NoAnswer:
      return "応答なし";
    case ProbeOutcome::OtherDevice:
      return "別の機器の応答";
    case ProbeOutcome::InUse:
      return "ほかのプログラムが使用中";
    case ProbeOutcome::NoPermission:
      return "開く権限がありません";
    case ProbeOutcome::StaleLock:
      return StaleLockText(result.staleLock);
    case ProbeOutcome::CannotOpen:
      break;
  }
  return "開けません";
}

// "COM5  /dev/ttyUSB0, FT232R USB UART": the name and the tooltip on one line.
std::string portLine(const ProbeResult& r, std::string_view between) {
  std::string device = r.device;
  for (std::size_t at = device.find('\n'); at != std::string::npos; at = device.find('\n', at))
    device.replace(at, 1, ", ");
  return PortNames(r) + std::string(between) + device;
}

}  // namespace

std::vector<std::vector<int>> PortsByDevice(const std::vector<int>& numbers,
                                            const std::function<std::string(int)>& device) {
  std::vector<std::vector<int>> groups;
  std::vector<std::string> devices;  // by group
  for (const int number : numbers) {
    const std::string named = device(number);
    const auto same = named.empty() ? devices.end() : std::ranges::find(devices, named);
    if (same != devices.end()) {
      groups[static_cast<std::size_t>(same - devices.begin())].push_back(number);
    } else {
      groups.push_back({number});
      devices.push_back(named);
    }
  }
  return groups;
}

std::string PortNames(const ProbeResult& result) {
  std::string names = ComName(result.number);
  for (const int n : result.sameDevice) names += " = " + ComName(n);
  return names;
}

SearchRun SearchPorts(const std::vector<int>& numbers, Port& port, PortEvents& events,
                      EventLoop& loop, const std::function<std::string(int)>& deviceText,
                      const FindProgress& progress) {
  SearchRun run;
  const std::vector<std::vector<int>> devices =
      PortsByDevice(numbers, [&port](int n) { return port.device(n); });
  const PortEvents kept = events;
  const int keptNumber = port.number();
  std::string received;
  bool lost = false;
  events.received = [&](std::string_view bytes) { received += bytes; };
  events.lost = [&] { lost = true; };
  const int total = static_cast<int>(devices.size());
  for (int i = 0; i < total && !run.cancelled; ++i) {
    const std::vector<int>& names = devices[static_cast<std::size_t>(i)];
    const int number = names.front();
    if (!progress(i, total, number)) {
      run.cancelled = true;
      break;
    }
    ProbeResult result{number,
                       deviceText(number),
                       ProbeOutcome::NoAnswer,
                       std::vector<int>(names.begin() + 1, names.end()),
                       {}};
    if (!port.setNumber(number) || !port.open()) {
      result.outcome = openFailure(port.openTrouble());
      if (result.outcome == ProbeOutcome::StaleLock) result.staleLock = PathUtf8(port.staleLock());
      run.results.push_back(result);
      continue;
    }
    received.clear();
    lost = false;
    port.write(kProbeQuery);
    ReplyVerdict verdict = ReplyVerdict::Incomplete;
    for (double waited = 0; waited < kProbeAnswerMs && !lost; waited += kProbeStepMs) {
      loop.Wait(kProbeStepMs);
      verdict = JudgeProbeReply(received);
      if (verdict != ReplyVerdict::Incomplete) break;
      if (!progress(i, total, number)) {
        run.cancelled = true;
        break;
      }
    }
    port.close();
    if (run.cancelled) break;
    // A line that fails meanwhile (a far end gone) has given no answer either.
    result.outcome = verdict == ReplyVerdict::Controller    ? ProbeOutcome::Controller
                     : verdict == ReplyVerdict::OtherDevice ? ProbeOutcome::OtherDevice
                                                            : ProbeOutcome::NoAnswer;
    run.results.push_back(result);
  }
  port.setNumber(keptNumber);
  events = kept;
  if (!run.cancelled) progress(total, total, 0);
  return run;
}

std::vector<int> FoundPorts(const std::vector<ProbeResult>& results) {
  std::vector<int> found;
  for (const ProbeResult& r : results)
    if (r.outcome == ProbeOutcome::Controller) found.push_back(r.number);
  return found;
}

int FindExitStatus(const std::vector<ProbeResult>& results) {
  const std::size_t found = FoundPorts(results).size();
  return found == 1 ? 0 : found == 0 ? 1 : kExitSeveral;
}

std::string ProbeLine(const ProbeResult& result) {
  return portLine(result, "\t") + "\t" + outcomeText(result);
}

bool RefusedForPermission(const std::vector<ProbeResult>& results) {
  return std::ranges::any_of(
      results, [](const ProbeResult& r) { return r.outcome == ProbeOutcome::NoPermission; });
}

std::string FindMessage(const SearchRun& run, bool dialoutHint) {
  std::string text;
  std::vector<const ProbeResult*> found;
  for (const ProbeResult& r : run.results)
    if (r.outcome == ProbeOutcome::Controller) found.push_back(&r);
  if (run.cancelled) text = "探すのを途中でやめました。\n";
  if (found.size() == 1) {
    return text + "コントローラーが見つかりました。\n" + portLine(*found[0], "  ") + "\n" +
           "このポートを選びました。「接続」で読み込めます。";
  }
  if (found.size() > 1) {
    text +=
        "コントローラーの応答が " + std::to_string(found.size()) + " つのポートにありました。\n";
    for (const ProbeResult* r : found) text += portLine(*r, "  ") + "\n";
    return text + "最初の " + ComName(found[0]->number) + " を選びました。";
  }
  if (run.results.empty()) return text + "調べられるポートがありません。";
  text += "コントローラーは見つかりませんでした。\n";
  for (const ProbeResult& r : run.results) text += portLine(r, "  ") + ": " + outcomeText(r) + "\n";
  if (dialoutHint && RefusedForPermission(run.results)) text += std::string(kDialoutHint) + "\n";
  text.pop_back();
  return text;
}

std::string FindProgressText(int done, int total, int number) {
  return ComName(number) + " を調べています（" + std::to_string(done + 1) + " / " +
         std::to_string(total) + "）";
}

}  // namespace korvane
