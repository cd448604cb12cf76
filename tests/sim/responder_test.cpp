#include "sim/responder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane::sim {
namespace {

using namespace std::chrono_literals;

// Fault modes whose whole schedule is known: a config, the input at 100 ms, the outputs.
struct ScheduleCase {
  const char* name;
  FaultConfig config;
  std::vector<ScheduledOutput> expected;
};

void PrintTo(const ScheduleCase& c, std::ostream* os) {
  *os << c.name;
}

class Schedule : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(Schedule, AnswersTwoQueriesAsConfigured) {
  ControllerModel model;
  Responder r(model, GetParam().config);
  const Response got = r.receive(":GXE1#:TA#:GXEL#", 100ms);
  EXPECT_EQ(got.exchanges.size(), 3u);
  EXPECT_EQ(got.outputs, GetParam().expected);
  EXPECT_FALSE(got.hangUpAt);
}

INSTANTIATE_TEST_SUITE_P(
    FaultModes, Schedule,
    ::testing::Values(
        ScheduleCase{"DefaultDelay", FaultConfig{}, {{105ms, "400#"}, {105ms, "6#"}}},
        ScheduleCase{"Delay40", FaultConfig{.delay = 40ms}, {{140ms, "400#"}, {140ms, "6#"}}},
        ScheduleCase{"NoDelay", FaultConfig{.delay = 0ms}, {{100ms, "400#"}, {100ms, "6#"}}},
        ScheduleCase{
            "Late", FaultConfig{.delay = 1ms, .late = true}, {{700ms, "400#"}, {700ms, "6#"}}},
        ScheduleCase{"Silent", FaultConfig{.silent = true}, {}},
        ScheduleCase{
            "Split20",
            FaultConfig{.splitGap = 20ms},
            {{105ms, "4"}, {125ms, "0"}, {145ms, "0"}, {165ms, "#"}, {185ms, "6"}, {205ms, "#"}}}),
    [](const auto& info) { return info.param.name; });

TEST(Responder, LaterAnswerNeverOvertakesASplitOne) {
  ControllerModel model;
  Responder r(model, FaultConfig{.splitGap = 50ms});
  const auto first = r.receive(":GXEL#", 0ms);
  ASSERT_EQ(first.outputs.size(), 2u);
  const auto second = r.receive(":GXEL#", 10ms);
  ASSERT_EQ(second.outputs.size(), 2u);
  EXPECT_EQ(second.outputs[0].when, 105ms) << "one gap after the last byte of the first answer";
}

TEST(Responder, SilentStillObeysWrites) {
  ControllerModel model;
  Responder r(model, FaultConfig{.silent = true});
  EXPECT_TRUE(r.receive(":$PA300#:GXE1#", 0ms).outputs.empty());
  EXPECT_EQ(model.state().maxRate, "300");
}

TEST(Responder, GarbageReplacesEachAnswerWithBytesWithoutHash) {
  ControllerModel model;
  Responder r(model, FaultConfig{.garbage = true});
  const std::string answers[] = {"5333#", "KORVANE-AP#", "1#"};
  const auto got = r.receive(":GXE7#:GXEM#:TV#:GXEH#", 0ms);
  ASSERT_EQ(got.outputs.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string& bytes = got.outputs[i].bytes;
    EXPECT_EQ(bytes.size(), answers[i].size());
    EXPECT_EQ(bytes.find('#'), std::string::npos);
    EXPECT_NE(bytes, answers[i]);
    EXPECT_EQ(got.outputs[i].when, 5ms);
  }
}

TEST(Responder, FloodComesOnceBeforeTheFirstAnswer) {
  ControllerModel model;
  Responder r(model, FaultConfig{.floodBytes = 5000});
  EXPECT_TRUE(r.receive(":$PA300#", 0ms).outputs.empty()) << "a write is no query";
  const auto first = r.receive(":GXE1#", 10ms);
  ASSERT_EQ(first.outputs.size(), 2u);
  EXPECT_EQ(first.outputs[0].bytes.size(), 5000u);
  EXPECT_EQ(first.outputs[0].bytes.find('#'), std::string::npos);
  EXPECT_EQ(first.outputs[1], (ScheduledOutput{15ms, "300#"}));
  const auto second = r.receive(":GXE1#", 20ms);
  ASSERT_EQ(second.outputs.size(), 1u);
  EXPECT_EQ(second.outputs[0].bytes, "300#");
}

TEST(Responder, HangsUpAfterTheNthCommandAndIgnoresTheRest) {
  ControllerModel model;
  Responder r(model, FaultConfig{.delay = 30ms, .hangupAfter = 3});
  const auto first = r.receive(":TA#:GXE1#", 0ms);
  EXPECT_FALSE(first.hangUpAt);
  const auto second = r.receive(":GXE4#:$PA300#:GXE5#", 10ms);
  ASSERT_EQ(second.exchanges.size(), 1u);
  EXPECT_EQ(second.outputs, (std::vector<ScheduledOutput>{{40ms, "2133#"}}));
  EXPECT_EQ(second.hangUpAt, 40ms) << "right after its answer is out";
  EXPECT_TRUE(r.hungUp());
  EXPECT_EQ(model.state().maxRate, "400") << "the command after the hang-up never arrived";
  const auto after = r.receive(":GXE1#", 50ms);
  EXPECT_TRUE(after.exchanges.empty());
  EXPECT_TRUE(after.outputs.empty());
}

TEST(Responder, HangUpWithoutAnswerIsImmediate) {
  ControllerModel model;
  Responder r(model, FaultConfig{.hangupAfter = 2});
  EXPECT_EQ(r.receive(":TA#:TB#:TC#", 70ms).hangUpAt, 70ms);
  EXPECT_FALSE(model.state().decPlus);
}

}  // namespace
}  // namespace korvane::sim
