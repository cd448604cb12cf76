#include "settings/number_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace korvane {
namespace {

struct LeadingCase {
  std::string text;
  double expected;
};

class LeadingNumberTest : public testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
  EXPECT_EQ(LeadingNumber(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, LeadingNumberTest,
    testing::Values(LeadingCase{"", 0}, LeadingCase{"  400", 400}, LeadingCase{"0.5", 0.5},
                    LeadingCase{"+35*40", 35}, LeadingCase{"10*30", 10}, LeadingCase{"-5", -5},
                    LeadingCase{"1 2", 12}, LeadingCase{"1\t2\n3", 123}, LeadingCase{"ON", 0},
                    LeadingCase{"2.26666666666666", 2.26666666666666}, LeadingCase{".5", 0.5},
                    LeadingCase{"-.5", -0.5}, LeadingCase{"5.", 5}, LeadingCase{".", 0},
                    LeadingCase{"-", 0}, LeadingCase{"--5", 0}, LeadingCase{"- 5", -5},
                    LeadingCase{"1e3", 1000}, LeadingCase{"1D3", 1000}, LeadingCase{"1d-2", 0.01},
                    LeadingCase{"2E+2x", 200}, LeadingCase{"1 e 2", 100},
                    // An exponent letter without digits ends the number before the letter.
                    LeadingCase{"5E", 5}, LeadingCase{"5E+", 5}, LeadingCase{"5Ex", 5},
                    LeadingCase{"E5", 0}, LeadingCase{"007", 7}, LeadingCase{"0.0012", 0.0012},
                    LeadingCase{"1.5.5", 1.5}, LeadingCase{"\r5", 0}, LeadingCase{"0x1F", 0},
                    LeadingCase{"3,5", 3}, LeadingCase{"1e-400", 0}, LeadingCase{"0e99999", 0},
                    LeadingCase{"1e99999999999999999999", std::numeric_limits<double>::infinity()},
                    LeadingCase{"-1e400", -std::numeric_limits<double>::infinity()},
                    LeadingCase{"1.7976931348623157e308", std::numeric_limits<double>::max()},
                    LeadingCase{"4.9406564584124654e-324",
                                std::numeric_limits<double>::denorm_min()},
                    // Many digits with the point far to the right still read to the right scale.
                    LeadingCase{"0." + std::string(500, '0') + "1e501", 1},
                    LeadingCase{"1" + std::string(400, '0') + "e-400", 1}));

TEST(LeadingNumberTest, SurvivesHugeAndBinaryInput) {
  EXPECT_EQ(LeadingNumber(std::string(10000, '9') + "e-10000"), 1);
  EXPECT_TRUE(std::isinf(LeadingNumber(std::string(10000, '9'))));
  const char binary[] = {'4', '\0', '2', '\xff'};
  EXPECT_EQ(LeadingNumber(std::string_view(binary, sizeof binary)), 4);
}

struct WholeCase {
  std::string text;
  std::optional<double> expected;
};

class WholeNumberTest : public testing::TestWithParam<WholeCase> {};

TEST_P(WholeNumberTest, ReadsTheWholeTextAndFloors) {
  EXPECT_EQ(WholeNumber(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, WholeNumberTest,
    testing::Values(
        WholeCase{" 300 ", 300}, WholeCase{"499.99", 499}, WholeCase{"20.9", 20},
        WholeCase{"-3.7", -4}, WholeCase{"-4", -4}, WholeCase{"200000.7", 200000},
        WholeCase{".5", 0}, WholeCase{"5.", 5}, WholeCase{"-.5", -1}, WholeCase{"+7", 7},
        WholeCase{"1E3", 1000}, WholeCase{"25d-1", 2}, WholeCase{"-1e-2", -1}, WholeCase{"0.9", 0},
        // Floored on the digits, not on the nearest double.
        WholeCase{"0.99999999999999999999", 0}, WholeCase{"-2.00000000000000000001", -3},
        WholeCase{"-1e-400", -1}, WholeCase{"2", 2}, WholeCase{"", std::nullopt},
        WholeCase{"   ", std::nullopt}, WholeCase{"ON", std::nullopt},
        WholeCase{"1x", std::nullopt}, WholeCase{"10*30", std::nullopt},
        WholeCase{"1 2", std::nullopt}, WholeCase{".", std::nullopt}, WholeCase{"-", std::nullopt},
        WholeCase{"1E", std::nullopt}, WholeCase{"1E+", std::nullopt},
        WholeCase{"\t5", std::nullopt}, WholeCase{"5\n", std::nullopt},
        WholeCase{"+-5", std::nullopt}, WholeCase{"1e999", std::nullopt}, WholeCase{"1e-999", 0}));

struct TextCase {
  double value;
  std::string expected;
};

class NumberTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(NumberTextTest, WritesCommandText) {
  EXPECT_EQ(NumberText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberTextTest,
    testing::Values(TextCase{0.78125, ".78125"}, TextCase{-4, "-4"}, TextCase{3626, "3626"},
                    TextCase{1 / 0.58, "1.72413793103448"}, TextCase{0.5, ".5"},
                    TextCase{-0.5, "-.5"}, TextCase{0, "0"}, TextCase{-0.0, "0"},
                    TextCase{1450, "1450"}, TextCase{100, "100"}, TextCase{10.25, "10.25"},
                    TextCase{2.26666666666666, "2.26666666666666"}, TextCase{0.1, ".1"},
                    TextCase{1.0 / 3, ".333333333333333"}, TextCase{2.0 / 3, ".666666666666667"},
                    TextCase{999999999999999, "999999999999999"},
                    TextCase{999999999999999.9, "1E+15"}, TextCase{1e15, "1E+15"},
                    TextCase{1.5e20, "1.5E+20"}, TextCase{-2.5e100, "-2.5E+100"},
                    TextCase{123456789012345678.0, "1.23456789012346E+17"},
                    TextCase{1e-15, ".000000000000001"}, TextCase{1e-16, "1E-16"},
                    TextCase{-1.25e-300, "-1.25E-300"},
                    TextCase{std::numeric_limits<double>::max(), "1.79769313486231E+308"},
                    TextCase{std::numeric_limits<double>::infinity(), "inf"},
                    TextCase{-std::numeric_limits<double>::infinity(), "-inf"}));

// Whatever NumberText writes, LeadingNumber reads back to a number that NumberText writes the same
// way; commands built from a field read back from the controller must not drift.
void expectStableText(double x) {
  const std::string text = NumberText(x);
  ASSERT_EQ(NumberText(LeadingNumber(text)), text) << "x = " << x;
  // Sign, point, fourteen zeros and fifteen digits at the most.
  EXPECT_LE(text.size(), 32u) << text;
  EXPECT_EQ(text.find(' '), std::string::npos) << text;
}

TEST(NumberTextRoundTrip, TableOfAwkwardValues) {
  const double d = std::numeric_limits<double>::denorm_min();
  for (double x : {0.1, 0.3, 1e15 - 1, 1e15, 1e-15, 1.0000000000000002, 9.999999999999999e14, 1e-16,
                   1e300, 1e-300, d, 3 * d, 2.2250738585072014e-308,
                   std::numeric_limits<double>::max(), std::nextafter(1e15, 0.0),
                   std::nextafter(1.79769313486231e308, 0.0), 123456.789, -0.000123}) {
    expectStableText(x);
    expectStableText(-x);
  }
}

TEST(NumberTextRoundTrip, PseudoRandomDoubles) {
  std::mt19937_64 random(20240705);
  std::uniform_real_distribution<double> plain(-1e6, 1e6);
  for (int i = 0; i < 4000; ++i) {
    double bits;
    std::uint64_t raw = random();
    std::memcpy(&bits, &raw, sizeof bits);
    if (std::isfinite(bits)) expectStableText(bits);
    expectStableText(plain(random));
  }
}

}  // namespace
}  // namespace korvane
