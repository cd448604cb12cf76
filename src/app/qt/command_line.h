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

// Runs inside a QCoreApplication.
int RunBackupCommand(const BackupCommand& command);

}  // namespace korvane
