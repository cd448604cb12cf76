// Child programs for end-to-end tests: korvane-sim on a pseudo-terminal with its command log, and
// any other program a test needs running. A child never outlives the test: it is killed when its
// object goes or the test process dies (the kernel ties it to the thread that made it, so make it
// on the thread that runs the test).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace korvane::testing {

class Child {
 public:
  // argv[0] is the program's path. Its standard output goes to a pipe whose reading end is put
  // in *out when out is given; otherwise its output goes to /dev/null.
  explicit Child(std::vector<std::string> argv, int* out = nullptr);
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { stop(std::chrono::milliseconds{500}); }

  pid_t pid() const { return pid_; }
  bool alive();  // reaps it once it has exited
  // SIGTERM, then SIGKILL after the timeout; the wait status, -1 if none.
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
  // Starts the simulator with these options (and --link when linkPath is not empty) and waits up
  // to 5 s for its "PTY <path>" line. Throws std::runtime_error on failure.
  explicit SimProcess(std::vector<std::string> extraArgs = {}, std::string linkPath = {});
  ~SimProcess();

  const std::string& slavePath() const { return slavePath_; }
  Child& process() { return *child_; }
  std::vector<SimLogLine> log() const;  // every complete line so far
  std::vector<std::string> commands() const;
  // True once at least n commands are logged; false if the timeout ran out first.
  bool waitForCommands(std::size_t n, std::chrono::milliseconds timeout) const;

 private:
  std::string logPath_;
  std::unique_ptr<Child> child_;
  std::string slavePath_;
};

}  // namespace korvane::testing
