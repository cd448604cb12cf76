#include "app/journal_shown.h"

#include "backup/backup_keys.h"

namespace korvane {

JournalEntry ShownJournalEntry(const JournalEntry& entry, bool secrets) {
  const int position = backupPositionOfKey(entry.key);
  if (secrets || position < 0 || !holdsSecret(static_cast<std::size_t>(position))) return entry;
  JournalEntry shown = entry;
  const auto hide = [](std::string& value, std::string_view noValue) {
    if (value != noValue) value = kHiddenSecret;
  };
  hide(shown.before, kUnknownBefore);
  shown.sent = kHiddenSecret;
  if (!shown.readBack.empty()) hide(shown.readBack, kNotReadBack);
  return shown;
}

std::optional<std::size_t> JournalChosenRow(const std::vector<std::size_t>& rows) {
  if (rows.empty()) return std::nullopt;
  return 0;  // JournalRows puts the newest first
}

}  // namespace korvane
