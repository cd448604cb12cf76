#include "files/journal.h"

#include <algorithm>
#include <array>

#include "files/local_file.h"
#include "protocol/utf8.h"

namespace korvane {

namespace {

std::string escaped(std::string_view value) {
  std::string out;
  for (const char c : value) {
    switch (c) {
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\\':
        out += "\\\\";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::optional<std::string> unescaped(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      out += field[i];
      continue;
    }
    if (++i == field.size()) return std::nullopt;
    switch (field[i]) {
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::optional<JournalEntry> parseLine(std::string_view line) {
  std::array<std::string, kJournalFields> fields;
  std::size_t n = 0;
  for (std::size_t at = 0;; ++n) {
    const std::size_t tab = line.find('\t', at);
    if (n == kJournalFields) return std::nullopt;  // one field too many
    auto field = unescaped(line.substr(at, tab == std::string_view::npos ? tab : tab - at));
    if (!field) return std::nullopt;
    fields[n] = std::move(*field);
    if (tab == std::string_view::npos) break;
    at = tab + 1;
  }
  // A line written before the mount column has one field less.
  if (n + 2 < kJournalFields || fields[2].empty() || fields[0].empty()) return std::nullopt;
  return JournalEntry{fields[0], fields[1], fields[2], fields[3],
                      fields[4], fields[5], fields[6], fields[7]};
}

}  // namespace

std::vector<std::string> JournalColumns() {
  std::vector<std::string> columns;
  const std::string_view header = kJournalHeader.substr(0, kJournalHeader.size() - 1);
  for (std::size_t at = 0; at <= header.size();) {
    const std::size_t tab = std::min(header.find('\t', at), header.size());
    columns.emplace_back(header.substr(at, tab - at));
    at = tab + 1;
  }
  return columns;
}

std::array<std::string_view, kJournalFields> JournalCells(const JournalEntry& e) {
  return {e.time, e.port, e.key, e.caption, e.before, e.sent, e.readBack, e.mount};
}

std::string JournalSkippedText(int skipped) {
  return "読めない行を " + std::to_string(skipped) + " 行飛ばしました。";
}

std::string FormatJournalLine(const JournalEntry& e) {
  const auto cells = JournalCells(e);
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) line += (i > 0 ? "\t" : "") + escaped(cells[i]);
  return line + "\n";
}

JournalRead ParseJournal(std::string_view text) {
  JournalRead read;
  const std::string_view header = kJournalHeader.substr(0, kJournalHeader.size() - 1);
  if (text.starts_with(kUtf8ByteOrderMark)) text.remove_prefix(kUtf8ByteOrderMark.size());
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (end == std::string_view::npos) {  // cut short: a line ends in "\n"
      if (!line.empty()) ++read.skipped;
      break;
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // saved by a Windows editor
    // The header, or the header of a journal begun before the mount column.
    if (line == header || line == header.substr(0, header.rfind('\t')) || line.empty()) continue;
    if (auto entry = parseLine(line)) {
      read.entries.push_back(std::move(*entry));
    } else {
      ++read.skipped;
    }
  }
  return read;
}

std::optional<std::string> AppendJournal(const std::filesystem::path& folder,
                                         const JournalEntry& entry, std::uintmax_t room) {
  const std::filesystem::path file = folder / kJournalFileName;
  const std::string line = FormatJournalLine(entry);
  std::string error;
  for (bool moved = false;;) {
    auto journal = AppendFile::Open(file, &error);
    if (!journal) return PathUtf8(file) + ": " + error;
    const std::uintmax_t size = journal->Size();
    std::string bytes = size == 0 ? std::string(kJournalHeader) + line : line;
    // A line cut short (a crash while it was written) gets as many empty fields again as an entry
    // has and its line end: too many fields to read as an entry, and this one on a line of its own.
    if (size > 0 && !journal->EndsLine()) bytes = std::string(kJournalFields, '\t') + "\n" + line;
    if (size > 0 && size + bytes.size() > kJournalLimit && !moved) {
      if (!journal->MoveTo(folder / kJournalOlderFileName, &error)) {
        return PathUtf8(file) + ": " + error;
      }
      moved = true;  // and the new file in its place, under its own lock
      continue;
    }
    if (!journal->Append(bytes, &error, room)) return PathUtf8(file) + ": " + error;
    return std::nullopt;
  }
}

std::vector<std::size_t> JournalRows(const std::vector<JournalEntry>& entries,
                                     std::string_view key) {
  std::vector<std::size_t> rows;
  for (std::size_t i = entries.size(); i-- > 0;) {
    if (key.empty() || entries[i].key == key) rows.push_back(i);
  }
  return rows;
}

std::vector<std::string> JournalKeys(const std::vector<JournalEntry>& entries) {
  std::vector<std::string> keys;
  for (const JournalEntry& e : entries) {
    if (std::find(keys.begin(), keys.end(), e.key) == keys.end()) keys.push_back(e.key);
  }
  return keys;
}

JournalRead ReadJournal(const std::filesystem::path& folder) {
  JournalRead all;
  for (const std::string_view name : {kJournalOlderFileName, kJournalFileName}) {
    constexpr std::size_t kMost = 4 * kJournalLimit;  // a file edited into something else
    const auto text = ReadLocalFile(folder / name, kMost);
    if (!text) continue;
    JournalRead read = ParseJournal(*text);
    all.skipped += read.skipped;
    for (JournalEntry& e : read.entries) all.entries.push_back(std::move(e));
  }
  return all;
}

}  // namespace korvane
