// The simulator the end-to-end tests talk to: the fault modes of its responder, and the program
// on a pseudo-terminal with its link and its log. (The unit tests talk to its controller model.)

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "sim/responder.h"
#include "tests/support/sim_process.h"

namespace korvane::sim {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Each fault mode on the same bytes at 100 ms: two queries around a command without an answer.
struct ScheduleCase {
  const char* name;
  FaultConfig config;
  std::vector<ScheduledOutput> outputs;
  std::optional<Millis> hangUpAt = {};
};
class Schedule : public ::testing::TestWithParam<ScheduleCase> {};
TEST_P(Schedule, AnswersAsItsFaultModeSays) {
  ControllerModel model;
  Responder responder(model, GetParam().config);
  const Response got = responder.receive(":GXE1#:TA#:GXEL#", 100ms);
  EXPECT_EQ(got.outputs, GetParam().outputs);
  EXPECT_EQ(got.hangUpAt, GetParam().hangUpAt);
}
INSTANTIATE_TEST_SUITE_P(
    FaultModes, Schedule,
    ::testing::Values(
        ScheduleCase{"Default", {}, {{105ms, "400#"}, {105ms, "6#"}}},
        ScheduleCase{"Late", {.late = true}, {{700ms, "400#"}, {700ms, "6#"}}},
        ScheduleCase{"Silent", {.silent = true}, {}},
        ScheduleCase{
            "OneByteAtATime",
            {.splitGap = 20ms},
            {{105ms, "4"}, {125ms, "0"}, {145ms, "0"}, {165ms, "#"}, {185ms, "6"}, {205ms, "#"}}},
        ScheduleCase{"HangUpAfterTwoCommands", {.hangupAfter = 2}, {{105ms, "400#"}}, 105ms}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Responder, GarbageAndFloodAreBytesWithoutAHash) {
  ControllerModel model;
  Responder garbage(model, {.garbage = true});
  const auto noise = garbage.receive(":GXE1#:GXEM#", 0ms).outputs;
  ASSERT_EQ(noise.size(), 2u);
  EXPECT_EQ(noise[0].bytes.size() + noise[1].bytes.size(), std::string("400#KORVANE-AP#").size());
  Responder flood(model, {.floodBytes = 5000});
  const auto first = flood.receive(":GXE1#:GXE1#", 0ms).outputs;
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(first[0].bytes.size(), 5000u);
  EXPECT_EQ(first[1].bytes + first[2].bytes, "400#400#") << "once, before the first answer";
  for (const auto& out : {noise[0], noise[1], first[0]}) {
    EXPECT_EQ(out.bytes.find('#'), std::string::npos);
  }
}

long cpuTicks(pid_t pid) {  // user and system time of a process, in clock ticks
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  const std::string stat(std::istreambuf_iterator<char>(in), {});
  std::istringstream fields(stat.substr(stat.rfind(')') + 2));
  std::string skipped;
  for (int field = 3; field < 14; ++field) fields >> skipped;
  long user = 0, system = 0;
  fields >> user >> system;
  return user + system;
}

// The program on a raw line: it answers, logs each command with its time, does not spin while
// the line is closed, and removes its link when it ends.
TEST(SimProgram, AnswersOnARawLineLogsAndCleansUpItsLink) {
  char folder[] = "/tmp/korvane-sim-test-XXXXXX";
  const fs::path link = fs::path(::mkdtemp(folder)) / "COM3";
  testing::SimProcess sim({}, link.string());
  EXPECT_EQ(fs::read_symlink(link).string(), sim.slavePath());
  const int line = ::open(link.c_str(), O_RDWR | O_NOCTTY);
  termios t{};
  ASSERT_EQ(::tcgetattr(line, &t), 0);  // its own raw mode: no echo, no line end changes
  EXPECT_EQ(t.c_lflag & (ECHO | ICANON), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR), 0u);
  ASSERT_EQ(::write(line, ":GXE1#", 6), 6);
  pollfd pfd{line, POLLIN, 0};
  char reply[8] = {};
  ASSERT_EQ(::poll(&pfd, 1, 1000), 1);
  EXPECT_EQ(std::string(reply, ::read(line, reply, sizeof reply)), "400#");
  ::close(line);
  const long ticks = cpuTicks(sim.process().pid());
  std::this_thread::sleep_for(500ms);
  EXPECT_LE(cpuTicks(sim.process().pid()) - ticks, 5) << "it spins while the line is closed";
  ASSERT_TRUE(sim.waitForCommands(1, 1s));
  EXPECT_EQ(sim.log().at(0).command, ":GXE1#");
  EXPECT_GT(sim.log().at(0).ms, 0.0);
  EXPECT_EQ(sim.process().stop(), 0) << "a clean exit on SIGTERM";
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  std::ofstream(link) << "keep";  // a file in the link's place is never replaced
  EXPECT_THROW(testing::SimProcess({}, link.string()), std::runtime_error);
  EXPECT_EQ(fs::file_size(link), 4u);
  fs::remove_all(link.parent_path());
}

}  // namespace
}  // namespace korvane::sim
