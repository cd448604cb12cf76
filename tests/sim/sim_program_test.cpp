// korvane-sim itself on a real pseudo-terminal, opened the way the tool opens its port.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "tests/support/sim_process.h"

namespace {

using korvane::testing::SimProcess;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "korvane-sim-test-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
  }
  ~TempDir() { fs::remove_all(path_); }
  fs::path operator/(const char* name) const { return path_ / name; }

 private:
  fs::path path_;
};

int openLine(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios t{};
  if (fd >= 0 && ::tcgetattr(fd, &t) == 0) {
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
  }
  return fd;
}

// Reads until "#" arrives, the line ends or the timeout runs out.
std::string readReply(int fd, std::chrono::milliseconds timeout) {
  std::string got;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (got.find('#') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd pfd{fd, POLLIN, 0};
    if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) break;
    char buf[64];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n <= 0) break;
    got.append(buf, n);
  }
  return got;
}

// Processor time the process has used, in clock ticks.
long cpuTicks(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) stime = std::stol(field);
  }
  return utime + stime;
}

bool exitsWithin(SimProcess& sim, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (sim.alive() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(5ms);
  return !sim.alive();
}

TEST(SimProgram, AnswersOnARawLineLogsAndCleansUpItsLink) {
  TempDir dir;
  const fs::path link = dir / "COM3";
  SimProcess sim({}, link.string());
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link).string(), sim.slavePath());

  const long idleStart = cpuTicks(sim.pid());
  for (int session = 0; session < 2; ++session) {
    const int fd = ::open(link.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    // The simulator's own raw mode, before we set ours: no echo, no CR/LF changes.
    termios t{};
    ASSERT_EQ(::tcgetattr(fd, &t), 0);
    EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR), 0u);
    ::close(fd);

    const int line = openLine(sim.slavePath());
    ASSERT_EQ(::write(line, ":GXE1#", 6), 6);
    EXPECT_EQ(readReply(line, 1s), "400#") << "session " << session;
    ::close(line);
    std::this_thread::sleep_for(1s);  // closed line: the simulator must not spin
  }
  EXPECT_LE(cpuTicks(sim.pid()) - idleStart, 10) << "ticks over two idle seconds";

  ASSERT_TRUE(sim.waitForCommands(2, 1s));
  const auto log = sim.log();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0].command, ":GXE1#");
  EXPECT_GT(log[0].ms, 0.0);
  EXPECT_GT(log[1].ms, log[0].ms + 1000.0);

  EXPECT_EQ(sim.stop(), 0) << "a clean exit on SIGTERM";
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

TEST(SimProgram, HangsUpAfterTheAnswerToTheNthCommand) {
  SimProcess sim({"--hangup-after", "2"});
  const int line = openLine(sim.slavePath());
  ASSERT_EQ(::write(line, ":TA#:GXE4#:GXE5#", 16), 16);
  EXPECT_EQ(readReply(line, 1s), "2133#");
  EXPECT_EQ(readReply(line, 1s), "") << "the line is dead";
  ::close(line);
  EXPECT_TRUE(exitsWithin(sim, 1s));
  ASSERT_EQ(sim.log().size(), 2u);
  EXPECT_EQ(sim.log()[1].command, ":GXE4#");
}

TEST(SimProgram, ExitOnCloseEndsWhenTheToolCloses) {
  SimProcess sim({"--exit-on-close"});
  const int line = openLine(sim.slavePath());
  ASSERT_EQ(::write(line, ":GXEP#", 6), 6);
  EXPECT_EQ(readReply(line, 1s), "1#");
  EXPECT_TRUE(sim.alive());
  ::close(line);
  EXPECT_TRUE(exitsWithin(sim, 1s));
}

TEST(SimProgram, RefusesToReplaceARegularFileWithItsLink) {
  TempDir dir;
  const fs::path file = dir / "COM4";
  std::ofstream(file) << "keep";
  EXPECT_THROW(SimProcess({}, file.string()), std::runtime_error);
  EXPECT_EQ((std::stringstream() << std::ifstream(file).rdbuf()).str(), "keep");
}

}  // namespace
