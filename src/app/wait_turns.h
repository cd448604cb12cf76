#pragma once
// EventLoop::Wait as a shell makes it from turns of its own event loop, the same for every shell:
// how long each turn may sleep, and when the wait is over.

#include <functional>

namespace korvane {

// Runs `turn` until ms milliseconds have passed and it has run at least once (a wait of 0 still
// lets what is pending run), or until it says false (the program is ending). Each turn may sleep
// at most the whole milliseconds still to go, rounded up so that the wait never ends early; 0
// once the time is up: only what is pending runs. elapsedMs is the time since the call; none:
// the steady clock's (the performance counter on Windows), never the wrapping millisecond tick.
void WaitInTurns(double ms, const std::function<bool(unsigned sleepMs)>& turn,
                 std::function<double()> elapsedMs = {});

}  // namespace korvane
