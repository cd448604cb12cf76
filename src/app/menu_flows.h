#pragma once
// What the menu's entries show once their read is done: the comparison's table and the journal's
// table, each as a model that every shell draws and forwards its events to. The entries' flows
// themselves are Form1's (Menu_Backup, Menu_Compare, Menu_Find).

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/backup_sequences.h"
#include "files/journal.h"
#include "window/texts.h"

namespace korvane {

// Every setting with the controller's value and the file's; the differing restorable ones ticked
// at first, the others tickable by hand, date and time never. Rows by backup position.
class CompareTable {
 public:
  CompareTable(Form1& form, BackupComparison comparison);

  static constexpr std::size_t kRows = kBackupSettingCount;
  // In kCompareColumns' order; after a write, a written row's last cell says how it went.
  const std::array<std::string, 4>& cells(std::size_t row) const { return cells_[row]; }
  bool tickable(std::size_t row) const { return comparison_.rows[row].restorable; }
  bool ticked(std::size_t row) const { return ticked_[row]; }
  void setTicked(std::size_t row, bool ticked) { ticked_[row] = ticked && tickable(row); }
  // What the table says under it: how many differ and which mounts; after a write, how it went.
  const std::string& summary() const { return summary_; }
  // "書き込み" can be pressed: until something has been written (read again to compare anew).
  bool writable() const { return writable_; }
  // Writes the ticked rows (the mount's steps only after the operator's OK).
  void write();

 private:
  Form1& form_;
  BackupComparison comparison_;
  std::array<std::array<std::string, 4>, kRows> cells_;
  std::array<bool, kRows> ticked_{};
  std::string summary_;
  bool writable_ = true;
};

// The journal's table: a filter (every setting, or one), its rows newest first with the WiFi
// passwords hidden, the newest chosen, and the undo of the chosen row.
class JournalView {
 public:
  explicit JournalView(Form1& form);

  // kJournalAllSettings, then each setting the journal names.
  const std::vector<std::string>& filters() const { return filters_; }
  std::size_t filter() const { return filter_; }
  void setFilter(std::size_t index);
  std::size_t rowCount() const { return rows_.size(); }
  std::array<std::string, kJournalFields> cells(std::size_t row) const;
  // The row chosen each time the rows change: the newest, so that "元に戻す" at once undoes the
  // last write; none in an empty table.
  std::optional<std::size_t> chosen() const;
  // Lines of the file that are no entry; empty when none.
  std::string skippedText() const;
  // Undoes the entry of `row` (the one the operator chose; nothing when none), tells the operator
  // how it went, and reads the journal again (the undo is an entry of its own), the filter kept.
  void undo(std::optional<std::size_t> row);

 private:
  void load();

  Form1& form_;
  JournalRead read_;
  std::vector<std::string> keys_;  // the filter's, after "all"
  std::vector<std::string> filters_;
  std::size_t filter_ = 0;
  std::vector<std::size_t> rows_;
};

// The menu's entries, as every window calls them.
struct MenuHandlers {
  std::function<void()> backup;          // "設定をバックアップ..."
  std::function<void()> compareRestore;  // "設定を比較・復元..."
  std::function<void()> journal;         // "変更履歴..."
  std::function<void()> find;            // "コントローラーを探す..."
  std::function<bool()> findAvailable;   // greyed out while this says no (a port is open)

  // The handler of a "ファイル" entry (a copy: it may run for a while, and the menu may be bound
  // anew meanwhile); none for "終了", which closes the window.
  std::function<void()> of(MenuCommand command) const;
  bool searchAvailable() const { return !findAvailable || findAvailable(); }
};

// What a window shows for the menu: its file dialogs, its progress window, and its two tables,
// each shown modal until closed.
struct MenuShell {
  FileChooser& files;
  Progress& progress;
  std::function<void(CompareTable&)> showCompare;
  std::function<void(JournalView&)> showJournal;
};

// The entries on `form`, the search on the window's own port (`events`, its tooltips' texts).
MenuHandlers MenuHandlersFor(Form1& form, Port& port, PortEvents& events,
                             std::function<std::string(int)> deviceText, MenuShell shell);

}  // namespace korvane
