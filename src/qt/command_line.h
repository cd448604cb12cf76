#pragma once
// The backup modes without a window and without a display, for the small computer at the mount:
//   korvane-settei --backup FILE  [--port PORT]
//   korvane-settei --compare FILE [--port PORT]
//   korvane-settei --restore FILE [--port PORT]
// They run the window's own handlers on a panel kept in memory. Progress goes to standard error,
// results to standard output. Exit status: 0 done and everything matches; 1 the controller
// differs from the file (--compare) or a read-back does not match (--restore); 2 trouble before
// anything was written.

#include <QString>
#include <filesystem>

#include "app/seams.h"

namespace korvane {

enum class BackupMode { Backup, Compare, Restore };

struct BackupCommand {
  BackupMode mode;
  std::filesystem::path file;
  QString port;  // "COMn", a device path, or empty for the port "siri.DAT" names
  std::filesystem::path dataFolder;
  std::filesystem::path portFolder;  // where COMn links are looked up
  bool showSecrets = false;          // print the WiFi passwords instead of ********
};

inline constexpr int kExitDone = 0, kExitDiffers = 1, kExitTrouble = 2;

// For the runs that no one watches (the backup modes, the picture runs): a message the handlers
// would show in a box goes to standard error, and a question is answered OK, so that nothing
// waits for a click that cannot come.
class ConsoleOperator : public Operator {
 public:
  MessageButton message(std::string_view text, std::string_view title, MessageStyle) override;
  void beep() override {}
  int messages = 0;
};

// Runs inside a QCoreApplication.
int RunBackupCommand(const BackupCommand& command);

}  // namespace korvane
