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

// A table in a dialog of its own: a filter above it for some, a line under it, and a button
// beside "閉じる" that acts on the ticked rows or the chosen one. The comparison and the journal
// are such tables; a shell draws any of them with one dialog.
class TableModel {
 public:
  virtual ~TableModel() = default;
  virtual std::string_view title() const = 0;
  virtual std::vector<std::string> columns() const = 0;
  virtual std::vector<std::string> filters() const { return {}; }  // none: no filter box
  virtual std::size_t filter() const { return 0; }
  virtual void setFilter(std::size_t index) { (void)index; }
  virtual std::size_t rowCount() const = 0;
  virtual std::vector<std::string> cells(std::size_t row) const = 0;
  virtual bool tickable(std::size_t row) const { return (void)row, false; }
  virtual bool ticked(std::size_t row) const { return (void)row, false; }
  virtual void setTicked(std::size_t row, bool ticked) { (void)row, (void)ticked; }
  // The row chosen each time the rows change; none by default.
  virtual std::optional<std::size_t> chosen() const { return std::nullopt; }
  virtual std::string note() const = 0;         // the line under the table
  virtual std::string_view action() const = 0;  // the button's caption
  virtual bool actionAvailable() const { return true; }
  // Enter presses the button, rather than "閉じる" (the button with the focus aside).
  virtual bool actionByEnter() const { return true; }
  // The button pressed with `row` chosen (none when no row is), the ticks handed on before; the
  // dialog then draws everything anew.
  virtual void act(std::optional<std::size_t> row) = 0;
};

// Every setting with the controller's value and the file's; the differing restorable ones ticked
// at first, the others tickable by hand, date and time never. Rows by backup position.
class CompareTable : public TableModel {
 public:
  CompareTable(Form1& form, BackupComparison comparison);

  static constexpr std::size_t kRows = kBackupSettingCount;
  std::string_view title() const override { return kCompareTitle; }
  std::vector<std::string> columns() const override;
  std::size_t rowCount() const override { return kRows; }
  // In kCompareColumns' order; after a write, a written row's last cell says how it went.
  std::vector<std::string> cells(std::size_t row) const override {
    return {cells_[row].begin(), cells_[row].end()};
  }
  bool tickable(std::size_t row) const override { return comparison_.rows[row].restorable; }
  bool ticked(std::size_t row) const override { return ticked_[row]; }
  void setTicked(std::size_t row, bool ticked) override { ticked_[row] = ticked && tickable(row); }
  // What the table says under it: how many differ and which mounts; after a write, how it went.
  const std::string& summary() const { return summary_; }
  std::string note() const override { return summary_; }
  std::string_view action() const override { return kWriteCaption; }
  // "書き込み" can be pressed: until something has been written (read again to compare anew).
  bool writable() const { return writable_; }
  bool actionAvailable() const override { return writable_; }
  // Writes the ticked rows (the mount's steps only after the operator's OK).
  void write();
  void act(std::optional<std::size_t>) override { write(); }

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
class JournalView : public TableModel {
 public:
  explicit JournalView(Form1& form);

  std::string_view title() const override { return kJournalTitle; }
  std::vector<std::string> columns() const override { return JournalColumns(); }
  // kJournalAllSettings, then each setting the journal names.
  std::vector<std::string> filters() const override { return filters_; }
  std::size_t filter() const override { return filter_; }
  void setFilter(std::size_t index) override;
  std::size_t rowCount() const override { return rows_.size(); }
  std::vector<std::string> cells(std::size_t row) const override;
  // The row chosen each time the rows change: the newest, so that "元に戻す" at once undoes the
  // last write; none in an empty table.
  std::optional<std::size_t> chosen() const override;
  // Lines of the file that are no entry; empty when none.
  std::string skippedText() const;
  std::string note() const override { return skippedText(); }
  std::string_view action() const override { return kUndoCaption; }
  // An undo writes to the controller: only a press of its own button, never Enter in the list.
  bool actionByEnter() const override { return false; }
  // Undoes the entry of `row` (the one the operator chose; nothing when none), tells the operator
  // how it went, and reads the journal again (the undo is an entry of its own), the filter kept.
  void undo(std::optional<std::size_t> row);
  void act(std::optional<std::size_t> row) override { undo(row); }

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

// What a window shows for the menu: its file dialogs, its progress window, and a table (the
// comparison, the journal) in a dialog, modal until closed.
struct MenuShell {
  FileChooser& files;
  Progress& progress;
  std::function<void(TableModel&)> showTable;
};

// The entries on `form`, the search on the window's own port (`events`, its tooltips' texts).
MenuHandlers MenuHandlersFor(Form1& form, Port& port, PortEvents& events,
                             std::function<std::string(int)> deviceText, MenuShell shell);

}  // namespace korvane
