#include "presets/gear_calculator.h"

#include <cmath>

#include "protocol/presets.h"
#include "settings/number_conversions.h"

namespace korvane {

namespace {

// Positions of the inputs, in the order of kGearFields.
enum Input { S2, S3, S4, S5, S6, S7, S8, S9, M };

struct Check {
  Input input;
  std::string_view message;
};

// A ratio or MaxRate of 0 makes the results meaningless; the first one found is reported.
constexpr std::array<Check, 5> kChecks{{
    {S4, "赤経中間ギア比を入力してください"},
    {S5, "赤経ウォームギア比を入力してください"},
    {S8, "赤緯中間ギア比を入力してください"},
    {S9, "赤緯ウォームギア比を入力してください"},
    {M, "MaxRateを入力してください"},
}};

// RA steps per degree of 0 would divide by zero in the slew rate, and inputs near the limits of a
// double give no number at all; no single field is to blame then.
constexpr std::string_view kUncomputableMessage =
    "モーターステップ・固定係数・ギア比の値を確認してください"
    "（角度対ステップが0または計算できない値になります）";

// 360 degrees in one solar day: the divisor is the quotient itself, not 240 multiplied in.
constexpr double kSiderealUnit = 360.0 / 86400.0;

}  // namespace

std::variant<GearResults, GearCheckFailure> Calc_Gear(const GearInputs& inputs) {
  std::array<double, 9> s{};
  for (std::size_t i = 0; i < inputs.size(); ++i) s[i] = LeadingNumber(inputs[i]);

  for (const Check& check : kChecks) {
    if (s[check.input] == 0) return GearCheckFailure{kGearFields[check.input], check.message};
  }

  // Left to right, as written: the order of the products changes the last bit.
  const double raPerDegree = std::floor(s[S2] * s[S3] * s[S4] * s[S5] / 360);
  const double decPerDegree = std::floor(s[S6] * s[S7] * s[S8] * s[S9] / 360);
  const double raPerWorm = std::floor(s[S2] * s[S3] * s[S4]);
  const double decPerWorm = std::floor(s[S6] * s[S7] * s[S8]);

  GearResults out;
  out[0] = NumberText(raPerDegree);
  out[1] = NumberText(decPerDegree);
  out[2] = NumberText(raPerWorm);
  out[3] = NumberText(decPerWorm);

  // The slew rate is computed from the texts as shown, so that what the operator reads is what
  // was divided.
  const double shownRaPerDegree = LeadingNumber(out[0]);
  const double maxRate = LeadingNumber(inputs[M]);
  const double slewRate = 1 / (shownRaPerDegree * maxRate / 1000000);
  out[4] = NumberText(slewRate);
  const double siderealMultiple = std::floor(LeadingNumber(out[4]) / kSiderealUnit);
  out[5] = NumberText(siderealMultiple);

  // Only the RA steps per degree divide: Dec steps of 0 are a result like any other, which the
  // SET button then judges.
  const bool computable = raPerDegree != 0 && std::isfinite(raPerDegree) &&
                          std::isfinite(decPerDegree) && std::isfinite(raPerWorm) &&
                          std::isfinite(decPerWorm) && std::isfinite(slewRate) &&
                          std::isfinite(siderealMultiple);
  if (!computable) return GearCheckFailure{{}, kUncomputableMessage};
  return out;
}

}  // namespace korvane
