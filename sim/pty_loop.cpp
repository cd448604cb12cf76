#include "sim/pty_loop.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <utility>

namespace korvane::sim {
namespace {

using Clock = std::chrono::steady_clock;

// While nobody has the slave open the master reports a hang-up at once on every poll(), so the loop
// sleeps until inotify reports an open of the slave, or this long without inotify (the tool's first
// bytes wait in the line meanwhile). With inotify the pause is only a safety net.
constexpr auto kClosedLinePause = std::chrono::milliseconds{50};
constexpr auto kClosedLineWatchedPause = std::chrono::seconds{1};

// How long the last answer before a hang-up is left on the line before it is closed.
constexpr auto kHangUpLinger = std::chrono::milliseconds{100};

volatile std::sig_atomic_t gStopSignal = 0;
void onStopSignal(int signal) {
  gStopSignal = signal;
}

timespec toTimespec(Clock::duration d) {
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
  return {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

// The --link symbolic link; removed on destruction if it still points at our slave.
class SymlinkGuard {
 public:
  ~SymlinkGuard() {
    if (path_.empty()) return;
    char buf[256];
    const ssize_t n = ::readlink(path_.c_str(), buf, sizeof buf);
    if (n >= 0 && std::string(buf, n) == target_) ::unlink(path_.c_str());
  }
  bool create(const std::string& path, const std::string& target) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) {
      if (!S_ISLNK(st.st_mode)) {
        std::fprintf(stderr, "korvane-sim: %s exists and is not a symbolic link\n", path.c_str());
        return false;
      }
      ::unlink(path.c_str());
    }
    if (::symlink(target.c_str(), path.c_str()) != 0) {
      std::fprintf(stderr, "korvane-sim: link %s: %s\n", path.c_str(), std::strerror(errno));
      return false;
    }
    path_ = path;
    target_ = target;
    return true;
  }

 private:
  std::string path_;
  std::string target_;
};

// Raw 8N1 at 9600 baud: no echo and no CR/LF translation, or the tool would read its own
// commands back. The setting stays with the line when we close our descriptor.
bool makeRaw(const std::string& slavePath) {
  FileDescriptor slave(::open(slavePath.c_str(), O_RDWR | O_NOCTTY));
  termios t{};
  if (slave.get() < 0 || ::tcgetattr(slave.get(), &t) != 0) return false;
  ::cfmakeraw(&t);
  ::cfsetspeed(&t, B9600);
  t.c_cflag |= CLOCAL | CREAD;
  return ::tcsetattr(slave.get(), TCSANOW, &t) == 0;
}

void writeLogLine(std::FILE* log, double ms, const std::string& command) {
  std::fprintf(log, "%.3f ", ms);
  for (unsigned char c : command) {
    // Control bytes would break the one-line-per-command form.
    if (c < 0x20 || c == 0x7f) {
      std::fprintf(log, "\\x%02x", c);
    } else {
      std::fputc(c, log);
    }
  }
  std::fputc('\n', log);
  std::fflush(log);
}

}  // namespace

int runPtyLoop(const SimOptions& options) {
  const auto start = Clock::now();
  sigset_t stopSignals;
  sigset_t waitMask;
  sigemptyset(&stopSignals);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stopSignals, s);
  // Held back except inside ppoll(), so a signal can never slip in between a check and a sleep.
  sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
  for (int s : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigaction(s, &sa, nullptr);
  }

  FileDescriptor master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK));
  char name[128];
  if (master.get() < 0 || ::grantpt(master.get()) != 0 || ::unlockpt(master.get()) != 0 ||
      ::ptsname_r(master.get(), name, sizeof name) != 0) {
    std::perror("korvane-sim: pseudo-terminal");
    return 1;
  }
  const std::string slavePath = name;
  // Opening and closing the slave once also makes the master report "nobody open" from now on.
  if (!makeRaw(slavePath)) {
    std::perror("korvane-sim: raw mode");
    return 1;
  }
  FileDescriptor opens(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
  if (opens.get() >= 0 && ::inotify_add_watch(opens.get(), name, IN_OPEN) < 0) {
    opens = FileDescriptor();
  }
  SymlinkGuard link;
  if (!options.linkPath.empty() && !link.create(options.linkPath, slavePath)) return 1;
  std::FILE* log = nullptr;
  if (!options.logPath.empty() && !(log = std::fopen(options.logPath.c_str(), "w"))) {
    std::perror("korvane-sim: log");
    return 1;
  }
  std::printf("PTY %s\n", slavePath.c_str());
  std::fflush(stdout);

  ControllerModel model;
  Responder responder(model, options.faults);
  std::deque<ScheduledOutput> queue;
  std::optional<Millis> hangUpAt;
  bool connected = false;
  int status = 0;
  char buf[4096];

  while (gStopSignal == 0) {
    auto now = Clock::now();
    bool blocked = false;
    while (!queue.empty() && start + queue.front().when <= now) {
      std::string& bytes = queue.front().bytes;
      const ssize_t n = ::write(master.get(), bytes.data(), bytes.size());
      if (n < 0) {
        blocked = errno == EAGAIN;
        if (errno == EINTR || blocked) break;
        queue.clear();  // the tool has gone; noticed below
        break;
      }
      bytes.erase(0, n);
      if (bytes.empty()) queue.pop_front();
    }
    if (hangUpAt && queue.empty()) {
      // Closing the master discards what the tool has not read yet: give it time to.
      const timespec pause = toTimespec(kHangUpLinger);
      ::ppoll(nullptr, 0, &pause, &waitMask);
      break;
    }

    pollfd pfd{master.get(), static_cast<short>(POLLIN | (blocked ? POLLOUT : 0)), 0};
    timespec timeout{0, 0};
    timespec* wait = &timeout;  // not connected: only look, the hang-up report comes at once
    if (connected) {
      if (queue.empty() || blocked) {
        wait = nullptr;
      } else {
        timeout = toTimespec(std::max(start + queue.front().when - now, Clock::duration::zero()));
      }
    }
    const int r = ::ppoll(&pfd, 1, wait, &waitMask);
    if (r < 0) {
      if (errno == EINTR) continue;
      std::perror("korvane-sim: poll");
      status = 1;
      break;
    }
    bool closed = (pfd.revents & (POLLHUP | POLLERR)) != 0;
    if (pfd.revents & POLLIN) {
      const ssize_t n = ::read(master.get(), buf, sizeof buf);
      if (n > 0) {
        connected = true;
        const auto readAt = Clock::now() - start;
        Response response =
            responder.receive(std::string_view(buf, n), std::chrono::duration_cast<Millis>(readAt));
        for (const auto& ex : response.exchanges) {
          if (log) {
            writeLogLine(log, std::chrono::duration<double, std::milli>(readAt).count(),
                         ex.command);
          }
        }
        queue.insert(queue.end(), response.outputs.begin(), response.outputs.end());
        if (response.hangUpAt) hangUpAt = response.hangUpAt;
        continue;
      }
      if (n < 0 && errno != EAGAIN && errno != EINTR) closed = true;
    }
    if (closed) {
      if (connected) {
        connected = false;
        // A device that keeps what it was about to send: its late answer still goes into the line,
        // where the next program to open the port finds it.
        if (!options.faults.keepUnsent) queue.clear();
        responder.lineClosed();
        if (options.exitOnClose) break;
      }
      pollfd watch{opens.get(), POLLIN, 0};
      const bool watched = opens.get() >= 0;
      const timespec pause = toTimespec(watched ? Clock::duration(kClosedLineWatchedPause)
                                                : Clock::duration(kClosedLinePause));
      ::ppoll(watched ? &watch : nullptr, watched ? 1 : 0, &pause, &waitMask);
      // Only a hint: the master's own report decides on the next pass.
      while (watched && ::read(opens.get(), buf, sizeof buf) > 0) {
      }
      continue;
    }
    connected = true;
  }
  if (log) std::fclose(log);
  return status;
}

}  // namespace korvane::sim
