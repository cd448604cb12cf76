#pragma once
// The journal as the operator sees it, on the terminal and in either shell's dialog.

#include <cstddef>
#include <optional>
#include <vector>

#include "files/journal.h"

namespace korvane {

// The entry with the WiFi passwords' values as kHiddenSecret unless `secrets` asks for them, as
// the comparison and the traffic log show them; the file itself keeps them, for its owner only.
// The journal's own words for no value ("—", "（応答なし）", an empty read-back) stay.
JournalEntry ShownJournalEntry(const JournalEntry& entry, bool secrets);

// The row the dialog chooses each time it fills its table (rows as JournalRows gives them): the
// newest entry shown, so that "元に戻す" at once undoes the last write; none in an empty table.
std::optional<std::size_t> JournalChosenRow(const std::vector<std::size_t>& rows);

}  // namespace korvane
