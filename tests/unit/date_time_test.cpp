#include "operation/date_time.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

struct ClockCase {
  LocalDateTime when;
  std::string date;
  std::string time;
};

class DateTimeCommandTest : public testing::TestWithParam<ClockCase> {};

TEST_P(DateTimeCommandTest, WritesTwoDigitsEach) {
  EXPECT_EQ(DateCommand(GetParam().when), GetParam().date);
  EXPECT_EQ(TimeCommand(GetParam().when), GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateTimeCommandTest,
    testing::Values(ClockCase{{2026, 7, 5, 9, 5, 3}, ":SC07/05/26#", ":SL09:05:03#"},
                    ClockCase{{2009, 1, 1, 0, 0, 0}, ":SC01/01/09#", ":SL00:00:00#"},
                    ClockCase{{1999, 12, 31, 23, 59, 59}, ":SC12/31/99#", ":SL23:59:59#"},
                    ClockCase{{2100, 10, 10, 10, 10, 10}, ":SC10/10/00#", ":SL10:10:10#"},
                    ClockCase{{2000, 2, 29, 12, 30, 45}, ":SC02/29/00#", ":SL12:30:45#"}));

}  // namespace
}  // namespace korvane
