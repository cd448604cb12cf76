#include "tests/support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace korvane::testing {

using Clock = std::chrono::steady_clock;

Child::Child(std::vector<std::string> args, int* out) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int pipe[2] = {-1, -1};
  if (out && ::pipe2(pipe, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t parent = ::getpid();
  pid_ = ::fork();
  if (pid_ == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);       // killed with us, even if we crash,
    if (::getppid() != parent) ::_exit(127);  // and at once if we have already gone
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(out ? pipe[1] : null, STDOUT_FILENO);
    if (!out) ::dup2(null, STDERR_FILENO);
    ::close_range(3, ~0U, 0);  // no descriptor of the test (an open port) stays open
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (out) {
    ::close(pipe[1]);
    *out = pipe[0];
  }
  if (pid_ < 0) throw std::runtime_error("fork failed");
}

int Child::stop(std::chrono::milliseconds timeout) {
  if (status_ != -1 || pid_ <= 0) return status_;
  ::kill(pid_, SIGTERM);
  const auto end = Clock::now() + timeout;
  while (::waitpid(pid_, &status_, WNOHANG) != pid_) {
    if (Clock::now() < end) {
      std::this_thread::sleep_for(std::chrono::milliseconds{2});
      continue;
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status_, 0);
    break;
  }
  return status_;
}

SimProcess::SimProcess(std::vector<std::string> extraArgs, std::string linkPath) {
  char log[] = "/tmp/korvane-sim-log-XXXXXX";
  ::close(::mkstemp(log));
  logPath_ = log;
  std::vector<std::string> args{KORVANE_SIM_PATH, "--log", logPath_};
  if (!linkPath.empty()) args.insert(args.end(), {"--link", linkPath});
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  int out = -1;
  child_ = std::make_unique<Child>(args, &out);
  std::string line;  // "PTY <slave>"
  pollfd ready{out, POLLIN, 0};
  for (char c = 0; c != '\n' && ::poll(&ready, 1, 5000) == 1 && ::read(out, &c, 1) == 1;) line += c;
  ::close(out);
  if (!line.starts_with("PTY ") || !line.ends_with('\n')) {
    ::unlink(logPath_.c_str());
    throw std::runtime_error("korvane-sim did not tell its line: '" + line + "'");
  }
  slavePath_ = line.substr(4, line.size() - 5);
}

SimProcess::~SimProcess() {
  child_.reset();
  ::unlink(logPath_.c_str());
}

std::vector<SimLogLine> SimProcess::log() const {
  std::vector<SimLogLine> lines;
  std::ifstream in(logPath_, std::ios::binary);
  // Only whole lines: the simulator may be in the middle of writing the next one.
  for (std::string line; std::getline(in, line) && !in.eof();) {
    if (const auto blank = line.find(' '); blank != std::string::npos) {
      lines.push_back({std::stod(line), line.substr(blank + 1)});
    }
  }
  return lines;
}

std::vector<std::string> SimProcess::commands() const {
  std::vector<std::string> out;
  for (const SimLogLine& line : log()) out.push_back(line.command);
  return out;
}

bool SimProcess::waitForCommands(std::size_t n, std::chrono::milliseconds timeout) const {
  for (const auto end = Clock::now() + timeout; log().size() < n;) {
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds{5});
  }
  return true;
}

}  // namespace korvane::testing
