// The simulator's side of a pseudo-terminal: the tool opens the slave as its serial port, the loop
// feeds what it writes to the responder and writes the answers back on schedule.
#pragma once

#include <string>

#include "sim/responder.h"

namespace korvane::sim {

struct SimOptions {
  FaultConfig faults;
  std::string linkPath;  // a symbolic link to the slave, made at start and removed at exit
  std::string logPath;   // one line per command received
  bool exitOnClose = false;
};

// Opens the line, prints "PTY <slave path>" on stdout and serves it until SIGTERM, SIGINT or
// SIGHUP, a hang-up fault, or (with exitOnClose) the tool closing the line. Returns the exit
// status.
int runPtyLoop(const SimOptions& options);

}  // namespace korvane::sim
