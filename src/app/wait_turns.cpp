#include "app/wait_turns.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace korvane {

void WaitInTurns(double ms, const std::function<bool(unsigned sleepMs)>& turn,
                 std::function<double()> elapsedMs) {
  if (!elapsedMs) {
    elapsedMs = [start = std::chrono::steady_clock::now()] {
      return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
          .count();
    };
  }
  for (bool ran = false;; ran = true) {
    const double left = std::max(0.0, ms) - elapsedMs();
    if (left <= 0 && ran) return;
    if (!turn(left <= 0 ? 0 : static_cast<unsigned>(std::ceil(left)))) return;
  }
}

}  // namespace korvane
