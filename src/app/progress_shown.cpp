#include "app/progress_shown.h"

namespace korvane {

namespace {
// Both the read and the search tell their last step as done == total: nothing is left to show,
// and a window left up would stand over the message that follows.
bool ends(int done, int total) {
  return done >= total;
}
}  // namespace

ProgressStep ReadProgressStep(int done, int total) {
  if (ends(done, total)) return {true, {}};
  return {false, std::to_string(done) + " / " + std::to_string(total)};
}

ProgressStep FindProgressStep(int done, int total, int number) {
  if (ends(done, total)) return {true, {}};
  return {false, FindProgressText(done, total, number)};
}

ProgressShown::ProgressShown(Progress& progress, std::string_view title, std::string_view first)
    : progress_(progress) {
  progress_.open(title);
  progress_.step(first, 0, 1);
}

ProgressShown::~ProgressShown() {
  close();
}

void ProgressShown::close() {
  if (open_) progress_.close();
  open_ = false;
}

bool ProgressShown::step(const ProgressStep& step, int done, int total) {
  if (step.ends) return close(), true;  // the result comes next
  if (open_) progress_.step(step.text, done, total);
  return !progress_.cancelled();
}

BackupProgress ProgressShown::read() {
  return [this](int done, int total) { return step(ReadProgressStep(done, total), done, total); };
}

FindProgress ProgressShown::find() {
  return [this](int done, int total, int number) {
    return step(FindProgressStep(done, total, number), done, total);
  };
}

}  // namespace korvane
