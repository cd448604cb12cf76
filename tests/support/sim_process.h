// Programs an end-to-end test runs: korvane-sim on a pseudo-terminal with its command log, or any
// other. A child never outlives the test: it is killed when its object goes or the test process
// dies (the kernel ties it to the thread that made it: make it on the thread that runs the test).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace korvane::testing {

class Child {
 public:
  // argv[0] is the program. Its output goes to /dev/null, or its standard output to a pipe whose
  // reading end is put in *out.
  explicit Child(std::vector<std::string> argv, int* out = nullptr);
  ~Child() { stop(std::chrono::milliseconds{500}); }
  pid_t pid() const { return pid_; }
  // SIGTERM, and SIGKILL after the timeout; the wait status (-1 when there is none).
  int stop(std::chrono::milliseconds timeout = std::chrono::seconds{2});

 private:
  pid_t pid_ = -1;
  int status_ = -1;
};

struct SimLogLine {
  double ms;            // since the simulator started
  std::string command;  // as received, from ":" to "#"
};

class SimProcess {
 public:
  // The simulator with these options (and --link when linkPath is not empty), once it has told its
  // line; throws std::runtime_error when it does not within 5 s.
  explicit SimProcess(std::vector<std::string> extraArgs = {}, std::string linkPath = {});
  ~SimProcess();
  const std::string& slavePath() const { return slavePath_; }
  Child& process() { return *child_; }
  std::vector<SimLogLine> log() const;  // every complete line so far
  std::vector<std::string> commands() const;
  bool waitForCommands(std::size_t n, std::chrono::milliseconds timeout) const;  // false: timed out

 private:
  std::string logPath_, slavePath_;
  std::unique_ptr<Child> child_;
};

}  // namespace korvane::testing
