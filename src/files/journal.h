#pragma once
// The journal of every setting the tool writes: a UTF-8 text file of one line per entry, fields
// separated by tabs, after a header line, so that it opens in a spreadsheet. An entry is appended
// with one write; at 1 MiB the file becomes the single older generation and a new one begins.
//   日時  ポート  設定  項目  前の値  送った値  読み返した値  マウント
//   2026-12-07 21:14:05 +09:00  COM5  max_rate  MaxRate  400  450  (empty: not read back)  EQ-A
// A journal begun before the mount column was added keeps its header and lines of seven fields.

#include <array>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

inline constexpr std::string_view kJournalFileName = "journal.tsv";
inline constexpr std::string_view kJournalOlderFileName = "journal.1.tsv";
inline constexpr std::uintmax_t kJournalLimit = 1024 * 1024;
inline constexpr std::string_view kJournalHeader =
    "日時\tポート\t設定\t項目\t前の値\t送った値\t読み返した値\tマウント\n";
// The value before, when the tool never read the setting.
inline constexpr std::string_view kUnknownBefore = "—";
// The value read back, when the controller gave none (or the read-back could not run).
inline constexpr std::string_view kNotReadBack = "（応答なし）";

inline constexpr std::size_t kJournalFields = 8;

struct JournalEntry {
  std::string time;  // "2026-12-07 21:14:05 +09:00"
  std::string port;  // "COM5"
  std::string key;   // the backup file's key
  std::string caption;
  std::string before;  // kUnknownBefore when never read
  std::string sent;
  std::string readBack;  // empty when the tool does not read the setting back
  std::string mount;     // the mount's name (its access-point SSID); empty when unknown
  friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

// The header's column names, and an entry's values in the same order: the journal's table in
// every shell.
std::vector<std::string> JournalColumns();
std::array<std::string_view, kJournalFields> JournalCells(const JournalEntry& entry);

// "読めない行を 2 行飛ばしました。": what a table or the command line says of lines that are no
// entry.
std::string JournalSkippedText(int skipped);

// One line, ending in "\n"; a tab, a line end or a backslash inside a value as \t, \n, \r, \\.
std::string FormatJournalLine(const JournalEntry& entry);

struct JournalRead {
  std::vector<JournalEntry> entries;  // in the file's order, oldest first
  int skipped = 0;                    // lines that are no entry (edited by hand, cut short)
};
// A byte-order mark at the start (a spreadsheet saved the file) is read as nothing.
JournalRead ParseJournal(std::string_view text);

// Appends the entry to the journal in folder: the header first into a new file, the file moved
// to the older generation first when the entry would take it past the limit. Copies of the
// program appending at once take turns. A write the disk cuts short leaves the file as it was;
// every append is tried anew. `room` is the most the disk takes: less only in a test that plays a
// full disk. Nothing when it is written; else why not.
std::optional<std::string> AppendJournal(
    const std::filesystem::path& folder, const JournalEntry& entry,
    std::uintmax_t room = std::numeric_limits<std::uintmax_t>::max());

// The positions of the entries to show, newest first; only those of `key` unless it is empty.
std::vector<std::size_t> JournalRows(const std::vector<JournalEntry>& entries,
                                     std::string_view key);

// The keys the entries name, each once, in the order first seen: the dialog's filter.
std::vector<std::string> JournalKeys(const std::vector<JournalEntry>& entries);

// The journal's entries, the older generation's first.
JournalRead ReadJournal(const std::filesystem::path& folder);

}  // namespace korvane
