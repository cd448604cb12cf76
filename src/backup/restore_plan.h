#pragma once
// What a restore would change: the controller's values as just read against a backup's, setting
// by setting, and the command that brings each differing one back. Decided without the port.

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "backup/backup_file.h"
#include "backup/backup_keys.h"

namespace korvane {

// Two values of one setting are the same when writing either would leave the controller alike:
// for a field, when its SET button sends the same command for both ("10*00" and "10" both write
// ":Sh10#", " AP " and "AP" both ":SmAP#"); for anything else, when the texts are equal.
bool SameBackupValue(std::size_t position, std::string_view a, std::string_view b);

// The one command that brings the setting to `value`: its SET button's write, or the command of
// the button that lights the lamp the value names. Nothing for the controller's date and time,
// and for a value the button would not write.
std::optional<std::string> RestoreCommand(std::size_t position, std::string_view value);

struct CompareRow {
  std::size_t position;  // in kBackupKeys
  bool restorable;       // false for the controller's date and time
  bool differs;
  std::string command;  // for restorable rows: what a restore writes
  // What a full restore writes, and what the comparison ticks at first.
  bool toRestore() const { return restorable && differs; }
  friend bool operator==(const CompareRow&, const CompareRow&) = default;
};

// Every kept setting in read order, equal ones included.
std::array<CompareRow, kBackupSettingCount> Compare_Backup(const BackupValues& controller,
                                                           const BackupValues& file);

// Only the restorable settings that differ, in read order: what a full restore writes.
std::vector<CompareRow> Diff_Backup(const BackupValues& controller, const BackupValues& file);

// The mount a backup came from and the one connected, for the comparison and the command line:
// "バックアップのマウント「EQ-A」（2026-12-07 21:00:00、COM3）、接続中のマウント「EQ-B」".
std::string MountsText(const BackupHeader& file, std::string_view connectedMount);

// The chosen settings a restore would change that make the mount's mechanics (steps per degree
// or per worm of either axis), in read order: another mount's steps drive this one wrong.
std::vector<std::size_t> MechanicsChanges(const BackupValues& controller, const BackupValues& file,
                                          std::span<const std::size_t> chosen);

// What the operator is told before such a restore: each value from and to, and both mounts'
// names where they differ. Empty when there are no changes.
std::string MechanicsText(std::span<const std::size_t> changes, const BackupValues& controller,
                          const BackupFile& file);

}  // namespace korvane
