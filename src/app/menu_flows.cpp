#include "app/menu_flows.h"

#include "app/journal_shown.h"
#include "app/progress_shown.h"
#include "backup/backup_keys.h"
#include "window/texts.h"

namespace korvane {

void Form1::Menu_Backup(FileChooser& files, Progress& progress) {
  if (!Backup_Ready()) return;
  const std::filesystem::path file = files.saveFile(kBackupTitle, BackupFileName(loop_.now()));
  if (file.empty()) return;
  BackupSaveResult result;
  {
    ProgressShown shown(progress, kBackupTitle, kReadingSettings);
    result = Backup_Save(file, shown.read());
  }
  operator_.message(result.message, kBackupTitle, TroubleStyle(result.trouble));
}

std::unique_ptr<CompareTable> Form1::Menu_Compare(FileChooser& files, Progress& progress) {
  if (!Backup_Ready()) return nullptr;
  const std::filesystem::path file = files.openFile(kCompareTitle);
  if (file.empty()) return nullptr;
  BackupComparison comparison;
  {
    ProgressShown shown(progress, kCompareTitle, kReadingSettings);
    comparison = Backup_Compare(file, shown.read());
  }
  if (comparison.trouble != BackupTrouble::None) {
    operator_.message(comparison.message, kCompareTitle, MessageStyle::Critical);
    return nullptr;
  }
  return std::make_unique<CompareTable>(*this, std::move(comparison));
}

void Form1::Menu_Find(Progress& progress, PortEvents& events,
                      const std::function<std::string(int)>& deviceText) {
  ProgressShown shown(progress, kFindTitle, "");
  Find_Controller(events, deviceText, shown.find());
}

std::function<void()> MenuHandlers::of(MenuCommand command) const {
  switch (command) {
    case MenuCommand::Backup:
      return backup;
    case MenuCommand::CompareRestore:
      return compareRestore;
    case MenuCommand::Journal:
      return journal;
    case MenuCommand::Separator:
    case MenuCommand::Quit:
      break;
  }
  return {};
}

MenuHandlers MenuHandlersFor(Form1& form, Port& port, PortEvents& events,
                             std::function<std::string(int)> deviceText, MenuShell shell) {
  return {[&form, shell] { form.Menu_Backup(shell.files, shell.progress); },
          [&form, shell] {
            if (const auto table = form.Menu_Compare(shell.files, shell.progress))
              shell.showTable(*table);
          },
          [&form, shell] {
            JournalView view(form);
            shell.showTable(view);
          },
          [&form, &events, deviceText = std::move(deviceText), shell] {
            form.Menu_Find(shell.progress, events, deviceText);
          },
          [&port] { return !port.isOpen(); }};
}

CompareTable::CompareTable(Form1& form, BackupComparison comparison)
    : form_(form), comparison_(std::move(comparison)), summary_(CompareSummary(comparison_)) {
  for (const CompareRow& row : comparison_.rows) {
    cells_[row.position] = CompareCells(comparison_, row);
    ticked_[row.position] = row.restorable && row.toRestore();
  }
}

std::vector<std::string> CompareTable::columns() const {
  return {kCompareColumns.begin(), kCompareColumns.end()};
}

void CompareTable::write() {
  if (!writable_) return;
  std::vector<std::size_t> positions;
  for (std::size_t r = 0; r < kRows; ++r)
    if (ticked_[r]) positions.push_back(r);
  const RestoreReport report = form_.Backup_Restore(comparison_, positions);
  writable_ = report.written() == 0;  // nothing written: the owner may choose again
  for (const RestoreRow& row : report.rows) cells_[row.position][3] = RestoredCell(row);
  summary_ = report.summary;
}

JournalView::JournalView(Form1& form) : form_(form) {
  load();
}

void JournalView::load() {
  const std::string key = filter_ > 0 && filter_ <= keys_.size() ? keys_[filter_ - 1] : "";
  read_ = ReadJournal(form_.folder());
  keys_ = JournalKeys(read_.entries);
  filters_ = {std::string(kJournalAllSettings)};
  filter_ = 0;
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    filters_.push_back(backupSettingName(keys_[i]));
    if (keys_[i] == key) filter_ = i + 1;
  }
  setFilter(filter_);
}

void JournalView::setFilter(std::size_t index) {
  filter_ = index < filters_.size() ? index : 0;
  rows_ = JournalRows(read_.entries, filter_ == 0 ? "" : keys_[filter_ - 1]);
}

std::vector<std::string> JournalView::cells(std::size_t row) const {
  const JournalEntry shown = ShownJournalEntry(read_.entries[rows_[row]], false);
  const auto views = JournalCells(shown);  // views into `shown`
  return {views.begin(), views.end()};
}

std::optional<std::size_t> JournalView::chosen() const {
  return JournalChosenRow(rows_);
}

std::string JournalView::skippedText() const {
  return read_.skipped > 0 ? JournalSkippedText(read_.skipped) : std::string();
}

void JournalView::undo(std::optional<std::size_t> row) {
  if (!row || *row >= rows_.size()) return;
  const JournalEntry entry = read_.entries[rows_[*row]];
  const RestoreReport report = form_.Journal_Undo(entry);
  form_.op().message(report.summary, kJournalTitle, TroubleStyle(report.trouble));
  load();
}

}  // namespace korvane
