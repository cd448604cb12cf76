#pragma once
// The controller's clock commands, from a local date and time.

#include <string>

namespace korvane {

struct LocalDateTime {
  int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// ":SC" MM "/" DD "/" YY "#"
std::string DateCommand(const LocalDateTime& when);
// ":SL" HH ":" MM ":" SS "#"
std::string TimeCommand(const LocalDateTime& when);

}  // namespace korvane
