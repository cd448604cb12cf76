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

// For the runs that no one watches (the backup modes, the picture runs): a message the handlers
// would show in a box goes to standard error, and a question is answered OK, so that nothing
// waits for a click that cannot come.
class ConsoleOperator : public Operator {
 public:
  MessageButton message(std::string_view text, std::string_view title, MessageStyle) override;
  void beep() override {}
  int messages = 0;
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
