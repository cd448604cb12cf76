#pragma once
// The backup modes without a window and without a display, for the small computer at the mount:
//   korvane-settei --backup FILE  [--port PORT]
//   korvane-settei --compare FILE [--port PORT]
//   korvane-settei --restore FILE [--port PORT]
// They run the window's own handlers on a panel kept in memory. Progress goes to standard error,
// results to standard output. Exit status (start_up.h): 0 done and everything matches; 1 the
// controller differs from the file (--compare) or a read-back does not match (--restore); 2
// trouble before anything was written, a restore of the mechanics without --accept-mechanics
// included.

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/port_events.h"
#include "app/seams.h"
#include "app/start_up.h"

namespace korvane {

struct BackupCommand {
  BackupMode mode;
  std::filesystem::path file;
  std::string port;  // "COMn", a device path, or empty for the port "siri.DAT" names
  std::filesystem::path dataFolder;
  std::filesystem::path portFolder;  // where COMn links are looked up
  bool showSecrets = false;          // print the WiFi passwords instead of ********
  // For `--port auto` and `--find`: the ports there are (PortsPresent), and the tooltip text of
  // each, from the shell.
  std::function<std::vector<int>()> portsPresent;
  std::function<std::string(int)> deviceText;
  // --restore may change the mount's mechanics (steps per degree, per worm); else it refuses.
  bool acceptMechanics = false;
};

inline constexpr std::string_view kAutoPort = "auto";

// The words the modes without a window print beside the values, for every program that runs them.
struct ConsoleWords {
  // A restored row's result, by RestoreRow::Verdict: a row without a read-back differs as far as
  // a script can tell.
  std::array<std::string_view, 4> verdicts;
  std::string_view noAnswer;  // in place of a value that did not come
  std::string_view found;     // --find's last line: this, then the ports or `none`
  std::string_view none;
};
inline constexpr ConsoleWords kConsoleWords{
    {"書き込まず", "一致", "相違", "相違"}, "（応答なし）", "見つかったポート:", "なし"};

// For the runs that no one watches (the backup modes, the picture runs): a message the handlers
// would show in a box goes to standard error, and a question is answered OK, so that nothing
// waits for a click that cannot come.
class ConsoleOperator : public Operator {
 public:
  MessageButton message(std::string_view text, std::string_view title, MessageStyle) override;
  void beep() override {}
  // A message as the console tells it: the lost line said once, and with no "接続" to press
  // (kPortLostConsoleText); told again, it is left out. Empty when nothing is left to tell.
  std::string told(std::string text);
  int messages = 0;
  bool portLostTold = false;
};

// The device port n stands for in a backup mode: the device given when it is no "COMn", else
// the device the window would open for port n.
std::filesystem::path BackupCommandDevice(const BackupCommand& command, int number);

// Runs the mode on `port` (which opens BackupCommandDevice's device) within `loop`; what the
// port receives, and the loss of its line, its adapter hands to `events`.
// With `--port auto`, the search comes first, and the mode goes on only when exactly one port
// answered as the controller.
int RunBackupCommand(const BackupCommand& command, Port& port, EventLoop& loop, PortEvents& events);

// `--journal N`: the header and the last N entries of the journal in dataFolder, in the file's
// form, on standard output, the WiFi passwords as ******** unless `secrets` (--show-secrets);
// lines that are no entry are counted on standard error.
int RunJournalCommand(const std::filesystem::path& dataFolder, int entries, bool secrets);

// `--find`: one ProbeLine per port on standard output, then "found: COMn..."
// (or "found: none"); progress on standard error. Returns FindExitStatus.
int RunFindCommand(const BackupCommand& command, Port& port, EventLoop& loop, PortEvents& events);

}  // namespace korvane
