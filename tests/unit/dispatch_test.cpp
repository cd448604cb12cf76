#include "settings/dispatch.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace korvane {
namespace {

struct DispatchCase {
  int kind;
  std::string reply;
  std::optional<std::pair<int, std::string>> text;  // field, text
  std::optional<std::pair<int, bool>> lamps;        // first shape, first lit
};

std::ostream& operator<<(std::ostream& os, const DispatchCase& c) {
  return os << "kind " << c.kind << " reply \"" << c.reply << '"';
}

class DispatchReplyTest : public testing::TestWithParam<DispatchCase> {};

TEST_P(DispatchReplyTest, GivesTheEffectsOfTheTable) {
  const DispatchCase& c = GetParam();
  const ReplyEffects effects = DispatchReply(c.kind, c.reply);
  ASSERT_EQ(effects.text.has_value(), c.text.has_value());
  if (c.text) {
    EXPECT_EQ(effects.text->field, c.text->first);
    EXPECT_EQ(effects.text->text, c.text->second);
  }
  ASSERT_EQ(effects.lamps.has_value(), c.lamps.has_value());
  if (c.lamps) {
    EXPECT_EQ(effects.lamps->pair.first, c.lamps->first);
    EXPECT_EQ(effects.lamps->pair.second, c.lamps->first + 1);
    EXPECT_EQ(effects.lamps->firstLit, c.lamps->second);
  }
}

using T = std::pair<int, std::string>;
using L = std::pair<int, bool>;
constexpr auto none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    RangeChecked, DispatchReplyTest,
    testing::Values(DispatchCase{1, "400", T{0, "400"}, none},
                    DispatchCase{1, "999", T{0, "999"}, none}, DispatchCase{1, "999.5", none, none},
                    DispatchCase{1, "1000", none, none},
                    DispatchCase{2, "5333", T{1, "5333"}, none},
                    DispatchCase{3, "200000", T{2, "200000"}, none},
                    DispatchCase{3, "200000.01", none, none},
                    DispatchCase{4, "-5", T{3, "-5"}, none},
                    DispatchCase{5, "abc", T{4, "abc"}, none}, DispatchCase{5, "", T{4, ""}, none},
                    DispatchCase{5, "1e999", none, none}, DispatchCase{5, "2 00001", none, none}));

INSTANTIATE_TEST_SUITE_P(SignInverted, DispatchReplyTest,
                         testing::Values(DispatchCase{6, "-139*44", T{5, "+139*44"}, none},
                                         DispatchCase{6, "+139*44", T{5, "-139*44"}, none},
                                         DispatchCase{6, "139*44", none, none},
                                         DispatchCase{6, "", none, none},
                                         DispatchCase{6, " -1", none, none},
                                         DispatchCase{6, "-", T{5, "+"}, none},
                                         DispatchCase{8, "+09", T{7, "-09"}, none},
                                         DispatchCase{8, "-09", T{7, "+09"}, none}));

INSTANTIATE_TEST_SUITE_P(AsIs, DispatchReplyTest,
                         testing::Values(DispatchCase{7, "+35*40", T{6, "+35*40"}, none},
                                         DispatchCase{9, "005", T{8, "005"}, none},
                                         DispatchCase{14, "-10", T{13, "-10"}, none},
                                         DispatchCase{15, "07/05/26", T{14, "07/05/26"}, none},
                                         DispatchCase{16, "09:05:03", T{15, "09:05:03"}, none},
                                         DispatchCase{20, "x", T{19, "x"}, none},
                                         DispatchCase{21, "45", T{20, "45"}, none},
                                         DispatchCase{22, "180", T{21, "180"}, none},
                                         DispatchCase{24, "my ssid", T{23, "my ssid"}, none},
                                         DispatchCase{25, "", T{24, ""}, none},
                                         DispatchCase{30, "home", T{22, "home"}, none},
                                         DispatchCase{31, "pw", T{25, "pw"}, none},
                                         DispatchCase{100, "1", T{99, "1"}, none}));

INSTANTIATE_TEST_SUITE_P(
    Channel, DispatchReplyTest,
    testing::Values(DispatchCase{23, "7", T{kCombo3Index, "7"}, none},
                    DispatchCase{23, "10", T{kCombo3Index, "0"}, none},
                    DispatchCase{23, "", T{kCombo3Index, ""}, none},
                    DispatchCase{23, "ch\xE3\x81\x82", T{kCombo3Index, "\xE3\x81\x82"}, none},
                    DispatchCase{23, "\xF0\x9F\x94\xAD", T{kCombo3Index, "\xF0\x9F\x94\xAD"}, none},
                    // A broken sequence at the end gives its last byte alone.
                    DispatchCase{23, "a\x81\x82", T{kCombo3Index, "\x82"}, none},
                    DispatchCase{23, "\xE3\x81", T{kCombo3Index, "\x81"}, none}));

INSTANTIATE_TEST_SUITE_P(Lamps, DispatchReplyTest,
                         testing::Values(DispatchCase{17, "1", T{16, "1"}, L{1, true}},
                                         DispatchCase{17, "0", T{16, "0"}, L{1, false}},
                                         DispatchCase{18, "2", T{17, "2"}, L{3, true}},
                                         DispatchCase{19, "-1", T{18, "-1"}, L{5, false}},
                                         DispatchCase{26, "0", none, L{7, false}},
                                         DispatchCase{27, "1", none, L{9, true}},
                                         DispatchCase{28, "0.9", none, L{11, false}},
                                         DispatchCase{28, "1.0", none, L{11, true}},
                                         DispatchCase{29, "1", none, L{13, true}},
                                         DispatchCase{29, "0", none, L{13, false}},
                                         // Not a number as a whole: the first lamp is lit.
                                         DispatchCase{29, "", none, L{13, true}},
                                         DispatchCase{29, "ON", none, L{13, true}},
                                         DispatchCase{29, "0x", none, L{13, true}},
                                         DispatchCase{26, " 0 ", none, L{7, false}}));

INSTANTIATE_TEST_SUITE_P(
    Dropped, DispatchReplyTest,
    testing::Values(DispatchCase{0, "1", none, none}, DispatchCase{-1, "1", none, none},
                    DispatchCase{32, "1", none, none}, DispatchCase{40, "1", none, none},
                    DispatchCase{99, "1", none, none}, DispatchCase{101, "1", none, none},
                    DispatchCase{32767, "1", none, none}));

}  // namespace
}  // namespace korvane
