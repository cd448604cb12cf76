#include "presets/gear_calculator.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/presets.h"

namespace korvane {
namespace {

GearInputs inputsOf(std::string_view preset) {
  const MountPreset* row = Find_Preset(preset);
  EXPECT_NE(row, nullptr) << preset;
  GearInputs in;
  for (std::size_t i = 0; i < in.size(); ++i) in[i] = std::string(row->fields[i]);
  return in;
}

TEST(FindPresetTest, MatchesExactNamesOnly) {
  for (std::string_view name : {"AP", "GP", "EQ5", "NJP"}) {
    const MountPreset* row = Find_Preset(name);
    ASSERT_NE(row, nullptr) << name;
    EXPECT_EQ(row->name, name);
  }
  for (std::string_view name : {"ap", "Ap", "AP ", " AP", "USER", "", "EQ"}) {
    EXPECT_EQ(Find_Preset(name), nullptr) << '"' << name << '"';
  }
  EXPECT_EQ(Find_Preset("GP")->fields, Find_Preset("EQ5")->fields);
  EXPECT_TRUE(Find_Preset("NJP")->raPlus);
  EXPECT_FALSE(Find_Preset("NJP")->decPlus);
}

struct WorkedCase {
  std::string preset;
  GearResults expected;
};

class CalcGearWorkedTest : public testing::TestWithParam<WorkedCase> {};

TEST_P(CalcGearWorkedTest, GivesTheStepParameters) {
  const auto result = Calc_Gear(inputsOf(GetParam().preset));
  ASSERT_TRUE(std::holds_alternative<GearResults>(result));
  EXPECT_EQ(std::get<GearResults>(result), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Presets, CalcGearWorkedTest,
    testing::Values(WorkedCase{"AP", {"1450", "1450", "3626", "3626", "1.72413793103448", "413"}},
                    WorkedCase{"GP", {"2133", "2133", "5333", "5333", "1.17205813408345", "281"}},
                    WorkedCase{"EQ5", {"2133", "2133", "5333", "5333", "1.17205813408345", "281"}},
                    WorkedCase{"NJP", {"3200", "1920", "4800", "4800", ".78125", "187"}}));

// NJP's inputs with a few changed, and what the calculator then shows.
struct VariantCase {
  std::string name;
  std::vector<std::pair<int, std::string>> changes;  // input position, text
  GearResults expected;
};

class CalcGearVariantTest : public testing::TestWithParam<VariantCase> {};

TEST_P(CalcGearVariantTest, GivesTheStepParameters) {
  GearInputs in = inputsOf("NJP");
  for (const auto& [position, text] : GetParam().changes) in[position] = text;
  const auto result = Calc_Gear(in);
  ASSERT_TRUE(std::holds_alternative<GearResults>(result));
  EXPECT_EQ(std::get<GearResults>(result), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Variants, CalcGearVariantTest,
    testing::Values(
        // Inputs count by their leading number.
        VariantCase{"LeadingNumbers",
                    {{2, "3x"}, {8, " 400 rpm"}},
                    {"3200", "1920", "4800", "4800", ".78125", "187"}},
        VariantCase{"NegativeRatioPassesTheChecks",
                    {{2, "-3"}},
                    {"-3200", "1920", "-4800", "4800", "-.78125", "-188"}},
        VariantCase{"LargeResultsInTheExponentForm",
                    {{0, "1e15"}},
                    {"1.6E+16", "1920", "2.4E+16", "4800", ".00000000000015625", "0"}},
        // Only the RA steps per degree divide; Dec steps of 0 are shown like any other result.
        VariantCase{"DecStepsOfZero", {{5, "0"}}, {"3200", "0", "4800", "0", ".78125", "187"}}),
    [](const auto& info) { return info.param.name; });

struct FailureCase {
  std::string name;
  std::vector<std::pair<int, std::string>> changes;  // input position, text
  std::string_view field;
  std::string_view message;
};

class CalcGearCheckTest : public testing::TestWithParam<FailureCase> {};

TEST_P(CalcGearCheckTest, ReportsTheFirstFailingInput) {
  GearInputs in = inputsOf("AP");
  for (const auto& [position, text] : GetParam().changes) in[position] = text;
  const auto result = Calc_Gear(in);
  ASSERT_TRUE(std::holds_alternative<GearCheckFailure>(result));
  EXPECT_EQ(std::get<GearCheckFailure>(result),
            (GearCheckFailure{GetParam().field, GetParam().message}));
}

constexpr std::string_view kUncomputable =
    "モーターステップ・固定係数・ギア比の値を確認してください"
    "（角度対ステップが0または計算できない値になります）";

INSTANTIATE_TEST_SUITE_P(
    Checks, CalcGearCheckTest,
    testing::Values(
        FailureCase{"RaGearEmpty", {{2, ""}}, "Text4", "赤経中間ギア比を入力してください"},
        FailureCase{"RaGearAndMaxRateEmpty",
                    {{2, ""}, {8, ""}},
                    "Text4",
                    "赤経中間ギア比を入力してください"},
        FailureCase{"RaWormLetters", {{3, "abc"}}, "Text5", "赤経ウォームギア比を入力してください"},
        FailureCase{"DecGearZero", {{6, "0.0"}}, "Text8", "赤緯中間ギア比を入力してください"},
        FailureCase{"DecWormAndMaxRate",
                    {{7, "-0"}, {8, "0"}},
                    "Text9",
                    "赤緯ウォームギア比を入力してください"},
        FailureCase{"MaxRateEmpty", {{8, ""}}, "Text1(0)", "MaxRateを入力してください"},
        // Not covered by the five checks: nothing sensible can be computed.
        FailureCase{"RaMotorStepsEmpty", {{0, ""}}, "", kUncomputable},
        FailureCase{"RaBelowOneStepPerDegree",
                    {{0, "1"}, {1, "1"}, {2, "1"}, {3, "359"}},
                    "",
                    kUncomputable},
        FailureCase{"HugeInputsOverflow", {{0, "1e308"}, {1, "1e308"}}, "", kUncomputable},
        FailureCase{"TinyMaxRate", {{8, "1e-320"}}, "", kUncomputable},
        FailureCase{"InfiniteInput", {{4, "1e999"}}, "", kUncomputable}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace korvane
