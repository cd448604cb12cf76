// Starts korvane-sim as a child process for end-to-end tests and reads what it logged.
// The child never outlives the test: it is killed when this object goes or the test process dies
// (the kernel ties it to the thread that made it, so make it on the thread that runs the test).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace korvane::testing {

struct SimLogLine {
  double ms;            // since the simulator started
  std::string command;  // as received, from ":" to "#"
};

class SimProcess {
 public:
  // Starts the simulator with these extra options (and --link when linkPath is not empty), and
  // waits up to 5 s for its "PTY <path>" line. Throws std::runtime_error on failure.
  explicit SimProcess(std::vector<std::string> extraArgs = {}, std::string linkPath = {});
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;
  ~SimProcess();

  const std::string& slavePath() const { return slavePath_; }
  pid_t pid() const { return pid_; }

  // Every complete line logged so far.
  std::vector<SimLogLine> log() const;
  // True once at least n commands are logged; false if the timeout ran out first.
  bool waitForCommands(std::size_t n, std::chrono::milliseconds timeout) const;
  // True while the simulator runs (reaps it when it has exited).
  bool alive();
  // Asks it to stop (SIGTERM), kills it after timeout; returns its wait status, -1 if none.
  int stop(std::chrono::milliseconds timeout = std::chrono::seconds{2});

 private:
  pid_t pid_ = -1;
  int status_ = -1;
  std::string slavePath_;
  std::string logPath_;
};

}  // namespace korvane::testing
