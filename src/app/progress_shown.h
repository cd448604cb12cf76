#pragma once
// A progress window over the main window, as both shells show it: while the 30 settings are read
// (a backup, a comparison) and while the ports are searched. Its line, and when it goes.

#include <string>

namespace korvane {

struct ProgressStep {
  bool ends = false;  // the work is done: the window goes now, before the result is told
  std::string text;   // else what it says now
};

// A read of settings: "12 / 30".
ProgressStep ReadProgressStep(int done, int total);
// The search: "COM5 を調べています（3 / 7）".
ProgressStep FindProgressStep(int done, int total, int number);

}  // namespace korvane
