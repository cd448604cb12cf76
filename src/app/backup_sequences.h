#pragma once
// Backup, compare and restore as sequences on the port and the event loop: the results of the
// Form1 handlers Backup_Read, Backup_Save, Backup_Compare and Backup_Restore. The shell (menu,
// dialogs, command line) shows them; no decision is left to it.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "backup/backup_file.h"
#include "backup/restore_plan.h"

namespace korvane {

// Why a sequence stopped before it had what it needed. Nothing was written to the controller in
// any of these cases but PortLost during a restore.
enum class BackupTrouble {
  None,
  NotConnected,  // the port was not open: "接続" comes first
  Busy,          // another conversation with the controller was running
  Cancelled,     // the operator stopped the read, or the window closed
  PortLost,      // the port closed under the sequence
  Unanswered,    // a setting did not answer, or its answer was dropped as out of range
  Unstorable,    // a setting holds a value its own button would not write back
  FileRefused,   // the backup file cannot be read or is not a backup we accept
  WriteFailed,   // the backup file could not be saved
  Refused,       // nothing to write: an undo whose value before is unknown or not writable
};

inline constexpr const char* kCancelledText = "中止しました。";

// How the operator is told a backup, compare, restore or undo ended: a plain box when it went
// through, the error box when something stopped it.
MessageStyle TroubleStyle(BackupTrouble trouble);

// What a read of kept settings heard: per position, the value the window shows for it after the
// answer, or nothing when the setting did not answer or its answer was dropped.
struct KeptAnswers {
  std::array<std::optional<std::string>, kBackupSettingCount> values;
  // The answer was not UTF-8: the value shows U+FFFD in place of bytes it cannot give back.
  std::array<bool, kBackupSettingCount> repaired{};
  // A two-state setting whose answer was no whole number ("ON", empty): the answer as it came.
  std::array<std::optional<std::string>, kBackupSettingCount> inexact;
  // The last answer filed under each setting, as it came, usable or not: what a refusal shows.
  std::array<std::optional<std::string>, kBackupSettingCount> heard;
  BackupTrouble trouble = BackupTrouble::None;  // Cancelled or PortLost when it stopped early
};

struct BackupReading {
  BackupTrouble trouble = BackupTrouble::None;
  std::string message;               // for the operator when there is trouble
  BackupValues values;               // complete when there is none
  std::vector<std::size_t> missing;  // the settings without a usable answer, in read order
  std::array<bool, kBackupSettingCount> repaired{};  // answers that were not UTF-8
};

struct BackupSaveResult {
  BackupTrouble trouble = BackupTrouble::None;
  std::string message;  // what the operator is told, saved or not
};

struct BackupComparison {
  BackupTrouble trouble = BackupTrouble::None;
  std::string message;                                 // for the operator when there is trouble
  BackupFile file;                                     // as read from the disk
  BackupValues controller;                             // as just read from the controller
  std::array<CompareRow, kBackupSettingCount> rows{};  // every setting, for the preview
  std::vector<std::size_t> differing;  // restorable rows that differ: the ones ticked at first
};

// What the comparison says under its table at first: how many settings differ, and which mount
// the backup came from and which one is connected.
std::string CompareSummary(const BackupComparison& comparison);

// The comparison table's cells of a row, in kCompareColumns' order: the setting's name, the
// controller's value and the file's (a password as ********, a control byte as \xNN) and "違う"
// when they differ; the same for every shell.
std::array<std::string, 4> CompareCells(const BackupComparison& comparison, const CompareRow& row);

struct RestoreRow {
  std::size_t position;
  std::string command;
  bool written = false;
  std::optional<std::string> now;  // the value read back after the writes; nothing if none came
  bool matches = false;            // `now` is the same as the file's value

  enum class Verdict { NotWritten, Matches, Differs, NoReadBack };
  Verdict verdict() const {
    return !written  ? Verdict::NotWritten
           : matches ? Verdict::Matches
           : now     ? Verdict::Differs
                     : Verdict::NoReadBack;
  }
};

// The result column of a written row after the restore: "一致", or "今の値: " and the value the
// controller now holds, or why there is none.
std::string RestoredCell(const RestoreRow& row);

struct RestoreReport {
  // NotConnected (nothing written), PortLost, or Cancelled when the window closed meanwhile
  BackupTrouble trouble = BackupTrouble::None;
  std::vector<RestoreRow> rows;  // the chosen settings, in read order
  std::string summary;           // how many were written and how many match
  int written() const;
  int matching() const;
};

}  // namespace korvane
