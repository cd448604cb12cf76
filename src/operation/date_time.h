#pragma once
// The controller's clock commands, from a local date and time.

#include <string>

#include "app/seams.h"

namespace korvane {

// ":SC" MM "/" DD "/" YY "#"
std::string DateCommand(const LocalDateTime& when);
// ":SL" HH ":" MM ":" SS "#"
std::string TimeCommand(const LocalDateTime& when);

}  // namespace korvane
