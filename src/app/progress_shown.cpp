#include "app/progress_shown.h"

#include "app/port_search.h"

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

}  // namespace korvane
