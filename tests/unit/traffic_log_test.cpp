// Lines of the serial traffic log: time stamp, event, and the bytes readable one line each.

#include "app/traffic_log.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

using std::chrono::nanoseconds;

struct LineCase {
  const char* name;
  long long ns;
  std::string event;
  std::string bytes;
  std::string line;
};

class TrafficLogTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(TrafficLogTest, FormatsOneEventOnOneLine) {
  const LineCase& c = GetParam();
  EXPECT_EQ(TrafficLogLine(nanoseconds{c.ns}, c.event, c.bytes), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrafficLogTest,
    ::testing::Values(
        LineCase{"Command", 12'345'678'901, "sent", ":GXE1#", "12345.678 sent :GXE1#"},
        LineCase{"Reply", 12'345'912'000, "received", "400#", "12345.912 received 400#"},
        LineCase{"AtStart", 0, "opened", "/dev/ttyUSB0", "0.000 opened /dev/ttyUSB0"},
        LineCase{"MillisecondZerosKept", 7'005'000, "sent", ":RG#", "7.005 sent :RG#"},
        LineCase{"SubMicrosecondDropped", 999'999, "sent", ":Q#", "0.999 sent :Q#"},
        LineCase{"NoBytes", 1'500'000'000, "closed", "", "1500.000 closed"},
        LineCase{"LineEndsEscaped", 1'000'000, "received", "12#\r\n",
                 "1.000 received 12#\\x0d\\x0a"},
        LineCase{"NulAndHighBytes", 1'000'000, "received", std::string("\0\xff#", 3),
                 "1.000 received \\x00\\xff#"},
        LineCase{"Utf8AsBytes", 2'000'000, "sent", ":$PS\xe6\x98\x9f#",
                 "2.000 sent :$PS\\xe6\\x98\\x9f#"},
        LineCase{"BackslashEscapedSoEscapesAreUnambiguous", 3'000'000, "sent", ":$PW\\x41#",
                 "3.000 sent :$PW\\x5cx41#"},
        LineCase{"LongRun", 86'400'000'000'000, "sent", ":GXE1#", "86400000.000 sent :GXE1#"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korvane
