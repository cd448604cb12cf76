#pragma once
// The backup file: UTF-8 text in INI form, decided without the disk. A "[backup]" section says
// which tool wrote it, when, from which port and from which mount; "[settings]" holds one
// "key=value" line per kept setting, the value being the rest of the line exactly as it stands (no
// quotes, no escapes: a WiFi password may hold commas, blanks and "=").

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "backup/backup_keys.h"
#include "operation/date_time.h"

namespace korvane {

struct BackupHeader {
  std::string toolVersion;
  std::string created;  // local date and time of the backup, as BackupTimestamp writes it
  std::string port;     // "COM3" or a device path
  // The mount's name: the controller's access-point network name (SSID) when it was backed up.
  // A file written before the mount had a name gives its wifi_ap_ssid setting here.
  std::string mount;
  friend bool operator==(const BackupHeader&, const BackupHeader&) = default;
};

struct BackupFile {
  BackupHeader header;
  BackupValues values;
  friend bool operator==(const BackupFile&, const BackupFile&) = default;
};

// A larger file is no backup of ours: thirty short values fit a hundred times over.
inline constexpr std::size_t kBackupFileLimit = 64 * 1024;

// Lines end as the system's own text files do; Parse_Backup takes either.
#ifdef _WIN32
inline constexpr std::string_view kBackupLineEnd = "\r\n";
#else
inline constexpr std::string_view kBackupLineEnd = "\n";
#endif

std::string Format_Backup(const BackupFile& file, std::string_view lineEnd = kBackupLineEnd);

struct BackupFileError {
  int line;             // from 1; 0 when the fault lies with the file as a whole
  std::string message;  // for the operator, naming the line
  friend bool operator==(const BackupFileError&, const BackupFileError&) = default;
};

// A file is taken as a whole or refused as a whole: every key once, nothing unknown, and every
// value one its own button would write. A comment (";") is not read, whatever its encoding: an
// editor may have saved the file in Shift_JIS.
std::variant<BackupFile, BackupFileError> Parse_Backup(std::string_view text);

// Why a value cannot stand in a backup (for the settings that are restored: why its button would
// not write it); nothing when it can.
std::optional<std::string> BackupValueProblem(std::size_t position, std::string_view value);

// "2026-07-05 21:00:00"
std::string BackupTimestamp(const LocalDateTime& at);
// The name a new backup is offered under: "korvane-20260705-2100.ini".
std::string BackupFileName(const LocalDateTime& at);

}  // namespace korvane
