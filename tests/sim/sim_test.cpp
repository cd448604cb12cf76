// The simulator as the end-to-end tests use it: the schedule of each fault mode, and the program
// on a pseudo-terminal behind its link, with its log. (The unit tests talk to its controller
// model.)

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "sim/responder.h"
#include "tests/support/sim_process.h"

namespace korvane::sim {
namespace {

using namespace std::chrono_literals;

// Each fault mode on the same bytes at 100 ms: two queries (the second a lamp pair's) around a
// command without an answer.
using Schedule = std::tuple<const char*, FaultConfig, std::vector<ScheduledOutput>>;
class FaultMode : public ::testing::TestWithParam<Schedule> {};
TEST_P(FaultMode, SchedulesTheAnswersSo) {
  ControllerModel model;
  Response got = Responder(model, std::get<1>(GetParam())).receive(":GXE1#:TA#:GXEP#", 100ms);
  if (got.hangUpAt) got.outputs.push_back({*got.hangUpAt, "(hang-up)"});
  for (auto& out : got.outputs) {  // noise: bytes without "#" in place of an answer, or before it
    if (out.bytes.find('#') == std::string::npos && out.bytes != "(hang-up)" &&
        out.bytes.size() > 1) {
      out.bytes = std::to_string(out.bytes.size()) + " bytes of noise";
    }
  }
  EXPECT_EQ(got.outputs, std::get<2>(GetParam())) << std::get<0>(GetParam());
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Sim, FaultMode, ::testing::Values(
    Schedule{"Default", {}, {{105ms, "400#"}, {105ms, "1#"}}},
    Schedule{"Late", {.late = true}, {{700ms, "400#"}, {700ms, "1#"}}},
    Schedule{"Delay", {.delay = 410ms}, {{510ms, "400#"}, {510ms, "1#"}}},
    Schedule{"AcknowledgesWrites", {.ackWrites = true}, {{105ms, "400#"}, {105ms, "1#"}, {105ms, "1#"}}},
    Schedule{"LampWords", {.lampWords = true}, {{105ms, "400#"}, {105ms, "ON#"}}},
    Schedule{"Silent", {.silent = true}, {}},
    Schedule{"SplitGap", {.splitGap = 20ms}, {{105ms, "4"}, {125ms, "0"}, {145ms, "0"}, {165ms, "#"}, {185ms, "1"}, {205ms, "#"}}},
    Schedule{"Garbage", {.garbage = true}, {{105ms, "4 bytes of noise"}, {105ms, "2 bytes of noise"}}},
    Schedule{"Flood", {.floodBytes = 5000}, {{105ms, "5000 bytes of noise"}, {105ms, "400#"}, {105ms, "1#"}}},
    Schedule{"HangUpAfterTwo", {.hangupAfter = 2}, {{105ms, "400#"}, {105ms, "(hang-up)"}}},
    Schedule{"AnotherMake", {.answer = "9999"}, {{105ms, "9999#"}, {105ms, "9999#"}}}));
// clang-format on

TEST(SimProgram, AnswersBehindItsLinkLogsWhatItGetsAndRemovesTheLinkWhenItEnds) {
  char folder[] = "/tmp/korvane-sim-test-XXXXXX";
  const std::filesystem::path link = std::filesystem::path(::mkdtemp(folder)) / "COM3";
  {
    testing::SimProcess sim({}, link.string());
    const int line = ::open(link.c_str(), O_RDWR | O_NOCTTY);  // in its raw mode: no echo
    ASSERT_EQ(::write(line, ":GXE1#", 6), 6);
    char reply[8] = {};
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(std::string(reply, ::read(line, reply, sizeof reply)), "400#");
    ::close(line);
    ASSERT_TRUE(sim.waitForCommands(1, 1s));
    EXPECT_EQ(sim.commands(), std::vector<std::string>{":GXE1#"});
    EXPECT_EQ(sim.process().stop(), 0) << "a clean exit on SIGTERM";
  }
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
  std::filesystem::remove_all(link.parent_path());
}

}  // namespace
}  // namespace korvane::sim
