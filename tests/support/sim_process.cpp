#include "tests/support/sim_process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

#ifndef KORVANE_SIM_PATH
#error "KORVANE_SIM_PATH must name the korvane-sim binary"
#endif

namespace korvane::testing {
namespace {

using Clock = std::chrono::steady_clock;

std::string makeTempLog() {
  const char* dir = std::getenv("TMPDIR");
  std::string path = std::string(dir && *dir ? dir : "/tmp") + "/korvane-sim-log-XXXXXX";
  const int fd = ::mkstemp(path.data());
  if (fd < 0) throw std::runtime_error("cannot create a temporary log file");
  ::close(fd);
  return path;
}

// Reads the first line from fd, giving up at the deadline.
std::string readLine(int fd, Clock::time_point deadline) {
  std::string line;
  while (line.empty() || line.back() != '\n') {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd pfd{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) return {};
    char c;
    if (::read(fd, &c, 1) != 1) return {};
    line += c;
  }
  line.pop_back();
  return line;
}

}  // namespace

SimProcess::SimProcess(std::vector<std::string> extraArgs, std::string linkPath)
    : logPath_(makeTempLog()) {
  std::vector<std::string> args{KORVANE_SIM_PATH, "--log", logPath_};
  if (!linkPath.empty()) {
    args.push_back("--link");
    args.push_back(linkPath);
  }
  args.insert(args.end(), extraArgs.begin(), extraArgs.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  const pid_t parent = ::getpid();
  pid_ = ::fork();
  if (pid_ == 0) {
    // Killed with us, even if we crash; and if we already died before this line, go now.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    ::dup2(out[1], STDOUT_FILENO);
    // A test's open slave of another simulator must not stay open in this one.
    ::close_range(3, ~0U, 0);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(out[1]);
  if (pid_ < 0) {
    ::close(out[0]);
    throw std::runtime_error("fork failed");
  }
  const std::string line = readLine(out[0], Clock::now() + std::chrono::seconds{5});
  ::close(out[0]);
  if (!line.starts_with("PTY ")) {
    stop(std::chrono::milliseconds{0});
    ::unlink(logPath_.c_str());
    throw std::runtime_error("korvane-sim did not report its line: '" + line + "'");
  }
  slavePath_ = line.substr(4);
}

SimProcess::~SimProcess() {
  stop(std::chrono::milliseconds{500});
  ::unlink(logPath_.c_str());
}

std::vector<SimLogLine> SimProcess::log() const {
  std::vector<SimLogLine> lines;
  std::ifstream in(logPath_, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t pos = 0;
  // Only whole lines: the simulator may be in the middle of writing the next one.
  for (std::size_t end; (end = text.find('\n', pos)) != std::string::npos; pos = end + 1) {
    const std::string line = text.substr(pos, end - pos);
    const auto blank = line.find(' ');
    if (blank == std::string::npos) continue;
    lines.push_back({std::strtod(line.c_str(), nullptr), line.substr(blank + 1)});
  }
  return lines;
}

bool SimProcess::waitForCommands(std::size_t n, std::chrono::milliseconds timeout) const {
  const auto deadline = Clock::now() + timeout;
  while (log().size() < n) {
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds{5});
  }
  return true;
}

bool SimProcess::alive() {
  if (status_ != -1 || pid_ <= 0) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) == pid_) {
    status_ = status;
    return false;
  }
  return true;
}

int SimProcess::stop(std::chrono::milliseconds timeout) {
  if (!alive()) return status_;
  ::kill(pid_, SIGTERM);
  const auto deadline = Clock::now() + timeout;
  while (alive() && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds{2});
  if (alive()) {
    ::kill(pid_, SIGKILL);
    int status = 0;
    if (::waitpid(pid_, &status, 0) == pid_) status_ = status;
  }
  return status_;
}

}  // namespace korvane::testing
