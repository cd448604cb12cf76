#pragma once
// The settings file "SetData.txt": one line of eleven quoted fields, each followed by a comma,
// no line end. Fields 1..9 are the texts of Text2..Text9 and Text1(0); 10 and 11 the RA and Dec
// directions, "1" for plus, "0" for minus.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

using SetDataFields = std::array<std::string, 11>;

std::string Format_SetData(const SetDataFields& fields);

// Nothing when the text ends before the eleventh field.
std::optional<SetDataFields> Parse_SetData(std::string_view text);

}  // namespace korvane
