#pragma once
// The journal as the operator sees it, on the terminal and in either shell's dialog.

#include "files/journal.h"

namespace korvane {

// The entry with the WiFi passwords' values as kHiddenSecret unless `secrets` asks for them, as
// the comparison and the traffic log show them; the file itself keeps them, for its owner only.
// The journal's own words for no value ("—", "（応答なし）", an empty read-back) stay.
JournalEntry ShownJournalEntry(const JournalEntry& entry, bool secrets);

}  // namespace korvane
