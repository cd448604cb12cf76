#pragma once
// The built-in mount models. "USER" is not a row: it is the settings file.

#include <array>
#include <string_view>

namespace korvane {

// The fields a preset (and the settings file) fills, in this order.
inline constexpr std::array<std::string_view, 9> kGearFields{
    "Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9", "Text1(0)"};
// What the operator calls them: the gear table's column over its row, and MaxRate.
inline constexpr std::array<std::string_view, 9> kGearFieldNames{
    "赤経 ﾓｰﾀｰｽﾃｯﾌﾟ", "赤経 固定係数", "赤経 中間ｷﾞｱ", "赤経 ｳｫｰﾑｷﾞｱ", "赤緯 ﾓｰﾀｰｽﾃｯﾌﾟ",
    "赤緯 固定係数",  "赤緯 中間ｷﾞｱ",  "赤緯 ｳｫｰﾑｷﾞｱ", "MaxRate"};

struct MountPreset {
  std::string_view name;
  std::array<std::string_view, 9> fields;  // in the order of kGearFields, written verbatim
  bool raPlus;
  bool decPlus;
};

inline constexpr std::string_view kUserPreset = "USER";

// clang-format off
inline constexpr std::array<MountPreset, 4> kMountPresets{{
  {"AP",  {"200", "8", "2.26666666666666", "144", "200", "8", "2.26666666666666", "144", "400"}, false, true},
  {"GP",  {"200", "8", "3.33333333333333", "144", "200", "8", "3.33333333333333", "144", "400"}, false, false},
  {"EQ5", {"200", "8", "3.33333333333333", "144", "200", "8", "3.33333333333333", "144", "400"}, false, false},
  {"NJP", {"200", "8", "3",                "240", "200", "8", "3",                "144", "400"}, true,  false},
}};
// clang-format on

// Exact, case-sensitive match; nullptr for no row.
const MountPreset* Find_Preset(std::string_view name);

}  // namespace korvane
