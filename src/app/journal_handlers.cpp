// The journal of settings written: what the window last knew of each setting, one entry per
// write, the trouble of a journal that cannot be written, and the undo of an entry.

#include "app/backup_sequences.h"
#include "app/form1.h"
#include "backup/backup_file.h"
#include "backup/backup_keys.h"
#include "files/journal.h"
#include "files/local_file.h"
#include "protocol/controls.h"
#include "window/texts.h"

namespace korvane {

namespace {
constexpr const char* kJournalTroubleText =
    "変更履歴に記録できません。設定は書き込みますが、この実行中の変更は変更履歴に残りません。\n";
constexpr const char* kUnknownBeforeText = "この変更の前の値は分からないため、元に戻せません。";
constexpr const char* kNotUndoableText = "この設定は元に戻せません。";
}  // namespace

std::string Form1::knownValue(int position) const {
  const auto it = known_.find(position);
  return it == known_.end() ? std::string(kUnknownBefore) : it->second;
}

void Form1::journal(int position, const std::string& before, const std::string& sent,
                    const std::string& readBack) {
  if (position < 0) return;
  const LocalDateTime now = loop_.now();
  const JournalEntry entry{BackupTimestamp(now) + " " + UtcOffsetText(),
                           ComName(port_.number()),
                           std::string(kBackupKeys[static_cast<std::size_t>(position)].key),
                           std::string(backupSetting(static_cast<std::size_t>(position)).caption),
                           before,
                           sent,
                           readBack};
  // The controller holds what it read back, or else what was sent, as far as the window knows.
  known_[position] = readBack.empty() || readBack == kNotReadBack ? sent : readBack;
  // A journal that cannot be written never stops a write: the operator is told once.
  if (journalTroubleTold_) return;
  if (const auto trouble = AppendJournal(folder_, entry)) {
    journalTroubleTold_ = true;
    journalTrouble_ = kJournalTroubleText + *trouble;
    if (!conversing_) tellJournalTrouble();
  }
}

void Form1::tellJournalTrouble() {
  if (journalTrouble_.empty()) return;
  const std::string text = std::move(journalTrouble_);
  journalTrouble_.clear();
  operator_.message(text, kJournalTitle, MessageStyle::Critical);
}

RestoreReport Form1::Journal_Undo(const JournalEntry& entry) {
  RestoreReport report;
  const int position = backupPositionOfKey(entry.key);
  std::string refusal;
  if (position < 0 || restoreWay(static_cast<std::size_t>(position)) == RestoreWay::Never) {
    refusal = kNotUndoableText;
  } else if (entry.before == kUnknownBefore) {
    refusal = kUnknownBeforeText;
  } else if (auto problem = BackupValueProblem(static_cast<std::size_t>(position), entry.before)) {
    refusal = *problem;
  }
  if (!refusal.empty()) {
    report.trouble = BackupTrouble::Refused;
    report.summary = refusal;
    return report;
  }
  BackupFile file;
  file.values[static_cast<std::size_t>(position)] = entry.before;
  const std::size_t positions[] = {static_cast<std::size_t>(position)};
  return Backup_Restore(file, positions);
}

}  // namespace korvane
