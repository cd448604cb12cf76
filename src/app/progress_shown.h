#pragma once
// A progress window over the main window, as every shell shows it: while the 30 settings are read
// (a backup, a comparison) and while the ports are searched. Its line, and when it goes.

#include <string>
#include <string_view>

#include "app/form1.h"
#include "app/port_search.h"
#include "app/seams.h"

namespace korvane {

struct ProgressStep {
  bool ends = false;  // the work is done: the window goes now, before the result is told
  std::string text;   // else what it says now
};

// A read of settings: "12 / 30".
ProgressStep ReadProgressStep(int done, int total);
// The search: "COM5 を調べています（3 / 7）".
ProgressStep FindProgressStep(int done, int total, int number);

// The progress window for one piece of work: open while this lives, its line set by the work's
// steps, gone at the last step or when this goes, whichever comes first.
class ProgressShown {
 public:
  ProgressShown(Progress& progress, std::string_view title, std::string_view first);
  ~ProgressShown();
  ProgressShown(const ProgressShown&) = delete;
  ProgressShown& operator=(const ProgressShown&) = delete;

  BackupProgress read();  // a backup's or comparison's read
  FindProgress find();    // the search for the controller

 private:
  bool step(const ProgressStep& step, int done, int total);
  void close();

  Progress& progress_;
  bool open_ = true;
};

}  // namespace korvane
