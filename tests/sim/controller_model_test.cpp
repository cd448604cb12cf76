#include "sim/controller_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane::sim {
namespace {

using namespace std::chrono_literals;

std::string send(ControllerModel& m, std::string_view bytes, Millis now = 0ms) {
  return joinReplies(m.receive(bytes, now));
}

// The tool's full read: every query, in its order.
constexpr std::string_view kReadAll =
    ":GXE1#:GXE4#:GXE5#:GXE7#:GXEE#:Gg#:Gt#:GG#:%BR#:%BD#:GXEA#:GXE9#:Go#:Gh#:G1#:G2#:GX81#"
    ":GXEF#:GXEG#:GXEH#:GX80#:GXEL#:GXEM#:GXEN#:GXEI#:GX95#:GXEQ#:GXEP#:GXES#:GXET#";

std::vector<std::string> readAll(ControllerModel& m) {
  const std::string all = send(m, kReadAll);
  std::vector<std::string> answers;
  for (std::size_t pos = 0, end; (end = all.find('#', pos)) != std::string::npos; pos = end + 1) {
    answers.push_back(all.substr(pos, end - pos));
  }
  return answers;
}

TEST(ControllerQueries, FullReadAnswersEveryQueryInOrder) {
  ControllerModel m;
  EXPECT_EQ(joinReplies(m.receive(kReadAll, 0ms)),
            "400#2133#2133#5333#5333#-139*44#+35*40#-09#010#010#15#15#85*00#10*00#45*00#180*00#"
            "11/03/25#1#0#1#20:00:00#6#KORVANE-AP#12345678#1#0#0#1#HomeNet#stargazer#");
  EXPECT_EQ(m.unknownCommands(), 0u);
}

// A write, the query that must now answer its value, and that answer.
struct WriteCase {
  const char* write;
  const char* query;
  const char* answer;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
  *os << c.write << " then " << c.query;
}

class ParameterWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ParameterWrite, ChangesOnlyWhatItsQueryAnswers) {
  ControllerModel m;
  const auto exchanges = m.receive(GetParam().write, 0ms);
  ASSERT_EQ(exchanges.size(), 1u);
  EXPECT_TRUE(exchanges[0].known);
  EXPECT_EQ(exchanges[0].reply, "") << "writes are never answered";
  EXPECT_EQ(send(m, GetParam().query), GetParam().answer);
  // Nothing else changed: the full read differs from a fresh one in this answer alone.
  ControllerModel fresh;
  const auto before = readAll(fresh);
  const auto after = readAll(m);
  ASSERT_EQ(after.size(), before.size());
  int changed = 0;
  for (std::size_t i = 0; i < after.size(); ++i) changed += after[i] != before[i];
  EXPECT_EQ(changed, 1);
}

INSTANTIATE_TEST_SUITE_P(
    AllWrites, ParameterWrite,
    ::testing::Values(
        WriteCase{":$PA300#", ":GXE1#", "300#"}, WriteCase{":$PB5400#", ":GXE4#", "5400#"},
        WriteCase{":$PC6000#", ":GXE5#", "6000#"}, WriteCase{":$PD200000#", ":GXE7#", "200000#"},
        WriteCase{":$PE500#", ":GXEE#", "500#"}, WriteCase{":Sh.5#", ":Gh#", ".5#"},
        WriteCase{":So80#", ":Go#", "80#"}, WriteCase{":SXE9,-4#", ":GXE9#", "-4#"},
        WriteCase{":SXEA,20#", ":GXEA#", "20#"}, WriteCase{":$BR005#", ":%BR#", "005#"},
        WriteCase{":$BD234#", ":%BD#", "234#"}, WriteCase{":Sg+5*30#", ":Gg#", "+5*30#"},
        WriteCase{":St-33*52#", ":Gt#", "-33*52#"}, WriteCase{":SG-9#", ":GG#", "-9#"},
        WriteCase{":$PF35#", ":G1#", "35#"}, WriteCase{":$PG0#", ":G2#", "0#"},
        WriteCase{":$PH10#", ":GXEL#", "10#"}, WriteCase{":SmMy Net#", ":GXEM#", "My Net#"},
        WriteCase{":Sn#", ":GXEN#", "#"}, WriteCase{":SpOffice:5G#", ":GXES#", "Office:5G#"},
        WriteCase{":Sq\xe6\x98\x9f#", ":GXET#", "\xe6\x98\x9f#"}));

// The commands that switch a two-state setting, and the query that reports it.
struct SwitchCase {
  const char* on;
  const char* off;
  const char* query;
};

void PrintTo(const SwitchCase& c, std::ostream* os) {
  *os << c.on << "/" << c.off;
}

class TwoStateSetting : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(TwoStateSetting, FollowsTheLastSwitchCommand) {
  ControllerModel m;
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(send(m, GetParam().off), "");
    EXPECT_EQ(send(m, GetParam().query), "0#");
    EXPECT_EQ(send(m, GetParam().on), "");
    EXPECT_EQ(send(m, GetParam().query), "1#");
  }
  EXPECT_EQ(m.unknownCommands(), 0u);
}

INSTANTIATE_TEST_SUITE_P(DirectionsLimitAndOptions, TwoStateSetting,
                         ::testing::Values(SwitchCase{":TA#", ":TB#", ":GXEF#"},
                                           SwitchCase{":TC#", ":TD#", ":GXEG#"},
                                           SwitchCase{":TV#", ":TW#", ":GXEH#"},
                                           SwitchCase{":TX#", ":TY#", ":GXEI#"},
                                           SwitchCase{":SX95,1#", ":SX95,0#", ":GX95#"},
                                           SwitchCase{":SX98,1#", ":SX98,0#", ":GXEQ#"},
                                           SwitchCase{":SX97,1#", ":SX97,0#", ":GXEP#"}));

TEST(ControllerStream, SplitAtAnyByteGivesTheSameResult) {
  const std::string stream =
      "\r\n:GXE1#:$PB5400#xx:GXE4#junk#:=SG#:SG+05#:GG#:SL09:05:03#:GX80#:ZZ#:SX97,0#:GXEP#:TH#:"
      "G1#";
  ControllerModel whole;
  const std::string expected = send(whole, stream);
  ASSERT_EQ(expected, "400#5400#+05#09:05:03#0#35*40#");
  for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
    ControllerModel m;
    std::string got = send(m, stream.substr(0, cut));
    got += send(m, stream.substr(cut));
    EXPECT_EQ(got, expected) << "cut at " << cut;
    EXPECT_EQ(m.unknownCommands(), 1u) << "cut at " << cut;
  }
  ControllerModel bytewise;
  std::string got;
  for (char c : stream) got += send(bytewise, std::string_view(&c, 1));
  EXPECT_EQ(got, expected);
}

TEST(ControllerStream, NoiseOverlongAndCutCommands) {
  ControllerModel m;
  const auto ex = m.receive("#garbage:GXE1#:$PA250#::XY#", 0ms);
  ASSERT_EQ(ex.size(), 3u);
  EXPECT_EQ(ex[1].command, ":$PA250#") << "reported exactly as received";
  EXPECT_EQ(ex[2].command, "::XY#");
  EXPECT_FALSE(ex[2].known);
  const std::string overlong = ":" + std::string(ControllerModel::kMaxCommandLength, 'x');
  EXPECT_EQ(send(m, overlong + "#:GXE1#"), "250#");
  EXPECT_EQ(m.unknownCommands(), 2u);
  send(m, ":$PA3");
  m.resetLine();  // the line was closed in the middle of a command
  EXPECT_EQ(send(m, "00#:GXE1#"), "250#");
}

TEST(ControllerCommands, RejectionNoticeIsNotAUtcOffsetWrite) {
  ControllerModel m;
  EXPECT_EQ(send(m, ":=SG#:GG#"), "-09#");
  EXPECT_EQ(m.state().rejectionNotices, 1);
  EXPECT_EQ(send(m, ":SG=5#:GG#"), "=5#") << "a value that merely starts with = is a write";
  EXPECT_EQ(m.state().rejectionNotices, 1);
  EXPECT_EQ(m.unknownCommands(), 0u);
}

TEST(ControllerCommands, TrackingRatesSpeedsAndTrim) {
  struct Step {
    const char* commands;
    TrackingRate rate;
    int trim;
    ManualSpeed speed;
  };
  const Step steps[] = {
      {":TL#:T+#:T+#:T+#:T-#:RC#", TrackingRate::kLunar, 2, ManualSpeed::kFine},
      {":TS#:RM#", TrackingRate::kSolar, 0, ManualSpeed::kCoarse},  // a new rate drops the trim
      {":T0#:T-#:RS#", TrackingRate::kHalfSidereal, -1, ManualSpeed::kSlew},
      {":TQ#:=SD#:RG#", TrackingRate::kSidereal, 0, ManualSpeed::kGuide},
  };
  ControllerModel m;
  const ControllerState& s = m.state();
  for (const auto& step : steps) {
    EXPECT_EQ(send(m, step.commands), "");
    EXPECT_EQ(s.trackingRate, step.rate) << step.commands;
    EXPECT_EQ(s.trimSteps, step.trim) << step.commands;
    EXPECT_EQ(s.speed, step.speed) << step.commands;
  }
  send(m, ":RS#:=SD#");
  EXPECT_TRUE(s.speedPrefixPending);
  send(m, ":RG#");
  EXPECT_FALSE(s.speedPrefixPending);
  EXPECT_EQ(m.unknownCommands(), 0u);
}

TEST(ControllerCommands, DriveGpsAndWifiMode) {
  ControllerModel m;
  const ControllerState& s = m.state();
  send(m, ":Td#");
  EXPECT_FALSE(s.driveOn);
  send(m, ":Te#:TJ#:TJ#");
  EXPECT_TRUE(s.driveOn);
  EXPECT_EQ(s.gpsRequests, 2);
  send(m, ":TF#");
  EXPECT_EQ(s.wifiActive, WifiMode::kAccessPoint) << "the mode is chosen, not yet applied";
  send(m, ":=SE#");
  EXPECT_EQ(s.wifiActive, WifiMode::kStation);
  send(m, ":TG#:=SE#");
  EXPECT_EQ(s.wifiActive, WifiMode::kAccessPoint);
  EXPECT_EQ(s.wifiApplyCount, 2);
}

TEST(ControllerCommands, PolarHomeFollowsTheLatitude) {
  ControllerModel m;
  EXPECT_EQ(send(m, ":TH#:G1#:G2#"), "35*40#0*00#");
  EXPECT_EQ(send(m, ":$PF10#:$PG90#:St-33*52#:TH#:G1#:G2#"), "33*52#180*00#");
}

TEST(ControllerClock, SetDateAndTimeThenRunOn) {
  ControllerModel m;
  EXPECT_EQ(send(m, ":SC07/05/26#", 1000ms), "");
  EXPECT_EQ(send(m, ":SL09:05:03#", 2000ms), "");
  EXPECT_EQ(send(m, ":GX81#:GX80#", 2999ms), "07/05/26#09:05:03#");
  EXPECT_EQ(send(m, ":GX80#", 3000ms), "09:05:04#");
  EXPECT_EQ(send(m, ":GX80#", 2000ms + 3723s), "10:07:06#");
  // Setting the date keeps the running time of day.
  EXPECT_EQ(send(m, ":SC01/09/09#:GX81#:GX80#", 2000ms + 3723s), "01/09/09#10:07:06#");
}

TEST(ControllerClock, DateRollsOverAtMidnight) {
  ControllerModel m;
  send(m, ":SC12/31/25#:SL23:59:59#", 0ms);
  EXPECT_EQ(send(m, ":GX81#:GX80#", 999ms), "12/31/25#23:59:59#");
  EXPECT_EQ(send(m, ":GX81#:GX80#", 1500ms), "01/01/26#00:00:00#");
}

TEST(ControllerClock, MalformedDateOrTimeIsIgnored) {
  ControllerModel m;
  for (const char* bad : {":SC13/01/26#", ":SC02/30/26#", ":SC7/5/26#", ":SC07-05-26#",
                          ":SL24:00:00#", ":SL09:60:00#", ":SL9:05:03#", ":SL09:05:03 #"}) {
    EXPECT_EQ(send(m, bad), "") << bad;
  }
  EXPECT_EQ(m.unknownCommands(), 8u);
  EXPECT_EQ(send(m, ":GX81#:GX80#"), "11/03/25#20:00:00#");
}

}  // namespace
}  // namespace korvane::sim
