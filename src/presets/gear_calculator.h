#pragma once
// The gear table turned into the controller's step parameters, decided without the window.

#include <array>
#include <string>
#include <string_view>
#include <variant>

namespace korvane {

// Inputs in the order Text2..Text9, Text1(0) (the order of kGearFields).
using GearInputs = std::array<std::string, 9>;

// Outputs in the order Text1(1), Text1(2), Text1(3), Text1(4), Text10, Text11.
inline constexpr std::array<std::string_view, 6> kGearOutputFields{
    "Text1(1)", "Text1(2)", "Text1(3)", "Text1(4)", "Text10", "Text11"};
using GearResults = std::array<std::string, 6>;

struct GearCheckFailure {
  std::string_view field;  // the field to highlight; empty when no single field is to blame
  std::string_view message;
  friend bool operator==(const GearCheckFailure&, const GearCheckFailure&) = default;
};

std::variant<GearResults, GearCheckFailure> Calc_Gear(const GearInputs& inputs);

}  // namespace korvane
