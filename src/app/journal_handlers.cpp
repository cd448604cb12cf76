// The journal of settings written: what the window last knew of each setting, one entry per
// write, the trouble of a journal that cannot be written, and the undo of an entry.

#include "app/backup_sequences.h"
#include "app/conversation.h"
#include "app/form1.h"
#include "backup/backup_file.h"
#include "backup/backup_keys.h"
#include "backup/restore_plan.h"
#include "files/journal.h"
#include "files/local_file.h"
#include "protocol/controls.h"
#include "window/texts.h"

namespace korvane {

namespace {
constexpr const char* kJournalTroubleText =
    "変更履歴に記録できません。設定は書き込みますが、記録できるようになるまでの変更は変更履歴に"
    "残りません。記録を再開したときにお知らせします。\n";
constexpr const char* kJournalResumedText = "変更履歴への記録を再開しました。";
constexpr const char* kUnknownBeforeText = "この変更の前の値は分からないため、元に戻せません。";
constexpr const char* kNotUndoableText = "この設定は元に戻せません。";
}  // namespace

std::string Form1::knownValue(int position) const {
  const auto it = known_.find(position);
  return it == known_.end() ? std::string(kUnknownBefore) : it->second;
}

std::string Form1::mountName() const {
  const auto it = known_.find(static_cast<int>(kMountNamePosition));
  return it == known_.end() ? std::string() : it->second;
}

void Form1::journal(int position, const std::string& before, const std::string& sent,
                    const std::string& readBack) {
  if (position < 0) return;
  const LocalDateTime now = loop_.now();
  const JournalEntry entry{BackupTimestamp(now) + " " + UtcOffsetText(),
                           portName(),
                           std::string(kBackupKeys[static_cast<std::size_t>(position)].key),
                           std::string(backupSetting(static_cast<std::size_t>(position)).caption),
                           before,
                           sent,
                           readBack,
                           mountName()};
  // The controller holds what it read back, or else what was sent, as far as the window knows.
  known_[position] = readBack.empty() || readBack == kNotReadBack ? sent : readBack;
  // A journal that cannot be written never stops a write. Every entry is tried (a spreadsheet
  // holding the file may let go of it): the operator is told once when recording stops, and once
  // when it works again.
  if (const auto trouble = AppendJournal(folder_, entry)) {
    if (!journalFailing_)
      journalNotice_ +=
          (journalNotice_.empty() ? "" : "\n") + std::string(kJournalTroubleText) + *trouble;
    journalFailing_ = true;
  } else if (journalFailing_) {
    journalFailing_ = false;
    journalNotice_ += (journalNotice_.empty() ? "" : "\n") + std::string(kJournalResumedText);
  }
  if (!conversing_) tellJournalTrouble();
}

void Form1::tellJournalTrouble() {
  if (journalNotice_.empty()) return;
  const std::string text = std::move(journalNotice_);
  journalNotice_.clear();
  operator_.message(text, kJournalTitle,
                    journalFailing_ ? MessageStyle::Critical : MessageStyle::Ok);
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
  const auto at = static_cast<std::size_t>(position);
  if (!port_.isOpen() || conversing_) {
    report.trouble = conversing_ ? BackupTrouble::Busy : BackupTrouble::NotConnected;
    report.summary = conversing_ ? kBusyText : kNotConnectedText;
    return report;
  }
  // Another port may be another controller, and a value changed since may be the owner's later
  // choice: either is the operator's to judge, before anything is written.
  std::string doubts;
  if (entry.port != portName()) {
    doubts += "この変更を書き込んだポートは " + entry.port + " ですが、いま開いているのは " +
              portName() + " です（別のコントローラーかもしれません）。\n";
  }
  // And another mount on the same cable: its name is read afresh, for a cable moves unseen.
  std::optional<std::string> now, mount;
  converse([&] {
    now = readBackOne(at, kReadAllWaitMs);
    if (!entry.mount.empty()) mount = readBackOne(kMountNamePosition, kReadAllWaitMs);
  });
  if (ending_ || !port_.isOpen()) {
    report.trouble = ending_ ? BackupTrouble::Cancelled : BackupTrouble::PortLost;
    report.summary = ending_ ? kCancelledText : kPortLostText;
    return report;
  }
  if (!entry.mount.empty() &&
      !(mount && SameBackupValue(kMountNamePosition, *mount, entry.mount))) {
    doubts += "この変更を書き込んだマウントは「" + entry.mount + "」ですが、いま接続しているのは" +
              (mount ? "「" + *mount + "」" : std::string("名前の分からないマウント")) + "です。\n";
  }
  const bool readBack = !entry.readBack.empty() && entry.readBack != kNotReadBack;
  const std::string& wrote = readBack ? entry.readBack : entry.sent;
  if (!now || !SameBackupValue(at, *now, wrote)) {
    doubts +=
        "コントローラーの今の値は" +
        (now ? "「" + ShownBackupValue(at, *now) + "」" : std::string("分かりません（応答なし）")) +
        "で、この変更の値「" + ShownBackupValue(at, wrote) +
        "」ではありません（その後に変わったようです）。\n";
  }
  if (!doubts.empty() &&
      operator_.message(doubts + backupSettingName(at) + " を「" +
                            ShownBackupValue(at, entry.before) + "」に戻しますか？",
                        kJournalTitle, MessageStyle::OkCancelExclamation) != MessageButton::Ok) {
    report.trouble = BackupTrouble::Cancelled;
    report.summary = kCancelledText;
    return report;
  }
  BackupFile file;
  file.values[static_cast<std::size_t>(position)] = entry.before;
  const std::size_t positions[] = {static_cast<std::size_t>(position)};
  return Backup_Restore(file, positions);
}

}  // namespace korvane
