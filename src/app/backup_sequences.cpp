// Backup, compare and restore: a fresh read of every kept setting paced as "接続" paces it, the
// backup file saved for its owner only, and a restore that writes only the chosen settings and
// reads each one back.

#include "app/backup_sequences.h"

#include <algorithm>
#include <numeric>

#include "app/conversation.h"
#include "files/journal.h"
#include "files/local_file.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "protocol/controls.h"
#include "settings/dispatch.h"
#include "settings/number_conversions.h"
#include "window/texts.h"

namespace korvane {

namespace {

// A restore writes one setting every half second, as the calculator's send phase does.
constexpr double kRestoreWaitMs = 500;
constexpr unsigned kOwnerOnly = 0600;

constexpr const char* kUnansweredText =
    "次の設定は答えがありませんでした。もう一度お試しください。";
constexpr const char* kUnusableText =
    "次の設定は、コントローラーの答えを値として使えませんでした（受け取った答えを示します）。";
constexpr const char* kUnstorableText = "次の設定は、今の値を SET ボタンで書き戻せません。";
constexpr const char* kNothingSavedText = "ファイルは保存していません。";
constexpr const char* kInexactText =
    "次の設定は、コントローラーの答えが 0 や 1 の数ではないため、どちらの状態か確かに分かりません"
    "（答えをそのまま示します）。";

std::string troubleText(BackupTrouble trouble) {
  switch (trouble) {
    case BackupTrouble::NotConnected:
      return kNotConnectedText;
    case BackupTrouble::Busy:
      return kBusyText;
    case BackupTrouble::Cancelled:
      return kCancelledText;
    case BackupTrouble::PortLost:
      return kPortLostText;
    default:
      return {};
  }
}

std::string namedList(std::string_view heading, const std::vector<std::size_t>& positions) {
  std::string text(heading);
  for (std::size_t position : positions) text += "\n・" + backupSettingName(position);
  return text;
}

// "\n・name: 「answer」": a setting named with what the controller said of it.
std::string withAnswer(std::size_t position, const std::string& answer) {
  return "\n・" + backupSettingName(position) + ": 「" + ShownBackupValue(position, answer) + "」";
}

std::array<std::size_t, kBackupSettingCount> everyPosition() {
  std::array<std::size_t, kBackupSettingCount> all;
  std::iota(all.begin(), all.end(), std::size_t{0});
  return all;
}

}  // namespace

MessageStyle TroubleStyle(BackupTrouble trouble) {
  return trouble == BackupTrouble::None ? MessageStyle::Ok : MessageStyle::Critical;
}

int RestoreReport::written() const {
  return static_cast<int>(
      std::count_if(rows.begin(), rows.end(), [](auto& r) { return r.written; }));
}

int RestoreReport::matching() const {
  return static_cast<int>(
      std::count_if(rows.begin(), rows.end(), [](auto& r) { return r.matches; }));
}

// Each answer is caught as the receive handler files it, under the query that waited for it, and
// only the settings asked for count. A setting is answered when a reply was filed under it and not
// dropped; the one answer after an unanswered query, which may be that query's late answer, is not
// passed on, so a doubtful value is missing rather than passed off under the wrong setting.
KeptAnswers Form1::readKept(std::span<const std::size_t> positions,
                            const BackupProgress& progress) {
  KeptAnswers answers;
  std::array<bool, kBackupSettingCount> asked{};
  for (std::size_t position : positions) asked[position] = true;
  std::vector<const Setting*> settings;
  for (std::size_t position : positions) settings.push_back(&backupSetting(position));
  const auto watch = [&](int replyKind, std::string_view reply, const ReplyEffects& effects,
                         bool repaired) {
    const int position = backupPositionOfKind(replyKind);
    if (position < 0 || !asked[position]) return;
    answers.heard[position] = std::string(reply);
    // The window lights the first lamp for an answer that is no number ("ON", nothing at all);
    // a backup, which must be exact, does not take that guess.
    if (restoreWay(std::size_t(position)) == RestoreWay::Switch && !WholeNumber(reply)) {
      answers.values[position].reset();
      answers.inexact[position] = std::string(reply);
      return;
    }
    answers.inexact[position].reset();
    if (auto value = ShownValue(effects)) {
      answers.values[position] = std::move(*value);
      answers.repaired[position] = repaired;
    }
  };
  const int total = static_cast<int>(settings.size());
  readSettings(settings, watch, [&](std::size_t done) {
    if (done > 0 && progress && !progress(static_cast<int>(done), total)) {
      answers.trouble = BackupTrouble::Cancelled;
    } else if (ending_ && done < settings.size()) {
      answers.trouble = BackupTrouble::Cancelled;
    } else if (!port_.isOpen()) {
      answers.trouble = BackupTrouble::PortLost;
    }
    return answers.trouble == BackupTrouble::None;
  });
  return answers;
}

bool Form1::Backup_Ready() {
  if (port_.isOpen() && !conversing_) return true;
  operator_.message(port_.isOpen() ? kBusyText : kNotConnectedText, "", MessageStyle::Ok);
  return false;
}

BackupReading Form1::Backup_Read(const BackupProgress& progress) {
  BackupReading reading;
  if (!port_.isOpen() || conversing_) {
    reading.trouble = conversing_ ? BackupTrouble::Busy : BackupTrouble::NotConnected;
    reading.message = troubleText(reading.trouble);
    return reading;
  }
  KeptAnswers answers;
  converse([&] { answers = readKept(everyPosition(), progress); });
  reading.trouble = answers.trouble;
  reading.repaired = answers.repaired;
  // Each refused answer is shown as it came, so that the owner sees what the controller said.
  std::string inexact, unusable;
  std::vector<std::size_t> unanswered;
  for (std::size_t i = 0; i < kBackupSettingCount; ++i) {
    if (answers.values[i]) {
      reading.values[i] = *answers.values[i];
    } else if (answers.inexact[i]) {
      inexact += withAnswer(i, *answers.inexact[i]);
    } else {
      reading.missing.push_back(i);
      if (answers.heard[i]) {
        unusable += withAnswer(i, *answers.heard[i]);
      } else {
        unanswered.push_back(i);
      }
    }
  }
  if (reading.trouble == BackupTrouble::None && !inexact.empty()) {
    reading.trouble = BackupTrouble::Unstorable;
    reading.message = kInexactText + inexact;
  } else if (reading.trouble == BackupTrouble::None && !reading.missing.empty()) {
    reading.trouble = BackupTrouble::Unanswered;
    if (!unusable.empty()) reading.message = kUnusableText + unusable;
    if (!unanswered.empty()) {
      reading.message +=
          (reading.message.empty() ? "" : "\n\n") + namedList(kUnansweredText, unanswered);
    }
  } else {
    reading.message = troubleText(reading.trouble);
  }
  return reading;
}

BackupSaveResult Form1::Backup_Save(const std::filesystem::path& file,
                                    const BackupProgress& progress) {
  // A file that cannot be saved is told at once, not after the read.
  if (const SaveFault fault = SaveTargetFault(file); fault != SaveFault::None) {
    return {BackupTrouble::WriteFailed, "このファイルには保存できません。\n" + PathUtf8(file) +
                                            "\n" + std::string(SaveFaultText(fault))};
  }
  BackupFile backup{{KORVANE_VERSION, BackupTimestamp(loop_.now()), portName(), ""}, {}};
  BackupReading reading = Backup_Read(progress);
  if (reading.trouble != BackupTrouble::None) {
    return {reading.trouble, reading.message + "\n" + kNothingSavedText};
  }
  // A file its own restore would refuse is no backup: say so now rather than at the restore. Nor
  // is one that would give back U+FFFD for bytes the controller sent that were not UTF-8.
  std::string unstorable;
  for (std::size_t i = 0; i < kBackupSettingCount; ++i) {
    if (reading.repaired[i] || BackupValueProblem(i, reading.values[i]))
      unstorable += withAnswer(i, reading.values[i]);
  }
  if (!unstorable.empty()) {
    return {BackupTrouble::Unstorable, kUnstorableText + unstorable + "\n" + kNothingSavedText};
  }
  backup.header.mount = reading.values[kMountNamePosition];
  backup.values = std::move(reading.values);
  std::string error;
  if (!WriteLocalFile(file, Format_Backup(backup), &error, kOwnerOnly)) {
    return {BackupTrouble::WriteFailed,
            "ファイルを保存できませんでした。\n" + PathUtf8(file) + "\n" + error};
  }
  return {BackupTrouble::None,
          std::to_string(kBackupSettingCount) + " 件の設定を保存しました。\n" + PathUtf8(file)};
}

BackupComparison Form1::Backup_Compare(const std::filesystem::path& file,
                                       const BackupProgress& progress) {
  BackupComparison comparison;
  // The file is checked before anything goes to the port: a refused file costs no read.
  const auto text = ReadLocalFile(file, kBackupFileLimit + 1);
  if (!text) {
    comparison.trouble = BackupTrouble::FileRefused;
    comparison.message = "ファイルを読めません。\n" + PathUtf8(file);
    return comparison;
  }
  auto parsed = Parse_Backup(*text);
  if (const auto* error = std::get_if<BackupFileError>(&parsed)) {
    comparison.trouble = BackupTrouble::FileRefused;
    comparison.message =
        "このファイルからは復元できません。\n" + PathUtf8(file) + "\n" + error->message;
    return comparison;
  }
  comparison.file = std::move(std::get<BackupFile>(parsed));
  BackupReading reading = Backup_Read(progress);
  comparison.trouble = reading.trouble;
  comparison.message = std::move(reading.message);
  if (reading.trouble != BackupTrouble::None) return comparison;
  comparison.controller = std::move(reading.values);
  comparison.rows = Compare_Backup(comparison.controller, comparison.file.values);
  for (const CompareRow& row : comparison.rows) {
    if (row.toRestore()) comparison.differing.push_back(row.position);
  }
  return comparison;
}

RestoreReport Form1::Backup_Restore(const BackupFile& file,
                                    std::span<const std::size_t> positions) {
  RestoreReport report;
  // The chosen settings once each, in read order; the controller's clock is never written.
  std::array<bool, kBackupSettingCount> chosen{};
  for (std::size_t position : positions) {
    if (position < kBackupSettingCount) chosen[position] = true;
  }
  for (std::size_t i = 0; i < kBackupSettingCount; ++i) {
    if (!chosen[i]) continue;
    if (auto command = RestoreCommand(i, file.values[i])) {
      RestoreRow row;
      row.position = i;
      row.command = std::move(*command);
      report.rows.push_back(std::move(row));
    }
  }
  if (!port_.isOpen() || conversing_) {
    report.trouble = conversing_ ? BackupTrouble::Busy : BackupTrouble::NotConnected;
    report.summary = troubleText(report.trouble);
    return report;
  }
  converse([&] { restoreChosen(file, report); });

  report.summary = std::to_string(report.written()) + " 件を書き込み、" +
                   std::to_string(report.matching()) + " 件が一致しました。";
  if (report.trouble == BackupTrouble::PortLost) {
    report.summary += "\n" + std::string(kPortLostText);
    std::vector<std::size_t> unwritten;
    for (const RestoreRow& row : report.rows) {
      if (!row.written) unwritten.push_back(row.position);
    }
    if (!unwritten.empty()) {
      report.summary += "\n" + namedList("残りの " + std::to_string(unwritten.size()) +
                                             " 件は書き込んでいません。",
                                         unwritten);
    }
  }
  return report;
}

std::array<std::string, 4> CompareCells(const BackupComparison& comparison, const CompareRow& row) {
  return {backupSettingName(row.position),
          ShownBackupValue(row.position, comparison.controller[row.position]),
          ShownBackupValue(row.position, comparison.file.values[row.position]),
          row.differs ? std::string(kDiffersMark) : std::string()};
}

std::string RestoredCell(const RestoreRow& row) {
  std::string text(kVerdictTexts[static_cast<std::size_t>(row.verdict())]);
  if (row.verdict() == RestoreRow::Verdict::Differs)
    text += ShownBackupValue(row.position, *row.now);
  return text;
}

std::string CompareSummary(const BackupComparison& comparison) {
  return std::to_string(comparison.differing.size()) + std::string(kDifferingCount) + "\n" +
         MountsText(comparison.file.header, comparison.controller[kMountNamePosition]);
}

RestoreReport Form1::Backup_Restore(const BackupComparison& comparison,
                                    std::span<const std::size_t> positions,
                                    bool mechanicsAccepted) {
  const std::vector<std::size_t> changes =
      MechanicsChanges(comparison.controller, comparison.file.values, positions);
  if (!changes.empty() && !mechanicsAccepted &&
      operator_.message(
          MechanicsText(changes, comparison.controller, comparison.file) + "\n\n書き込みますか？",
          kCompareTitle, MessageStyle::OkCancelExclamation) != MessageButton::Ok) {
    RestoreReport report;
    report.trouble = BackupTrouble::Cancelled;
    report.summary = kCancelledText;
    return report;
  }
  return Backup_Restore(comparison.file, positions);
}

// Each write, 500 ms, its read-back query and 400 ms for the answer, with the window locked: every
// write is journaled as soon as its read-back is in, so that a restore stopped anywhere leaves
// the lines of what it wrote.
void Form1::restoreChosen(const BackupFile& file, RestoreReport& report) {
  panel_.setEnabled(kForm1, false);
  panel_.showBusy(true);
  // A write that does not go out (the window closing, the line gone) ends the restore there.
  for (RestoreRow& row : report.rows) {
    replyKind_ = kSetReplyKind;  // an answer to a write lands out of sight, as for SET
    const SettingWrite write = WriteSetting(row.position, file.values[row.position],
                                            ReadBack{kRestoreWaitMs, kReadAllWaitMs});
    row.written = write.status == SettingWrite::Status::Written;
    row.now = write.readBack;
    row.matches = row.now && SameBackupValue(row.position, *row.now, file.values[row.position]);
    if (!row.written) break;
  }
  if (ending_ || !port_.isOpen()) {
    report.trouble = ending_ ? BackupTrouble::Cancelled : BackupTrouble::PortLost;
  }
  panel_.showBusy(false);
  panel_.setEnabled(kForm1, true);
}

}  // namespace korvane
