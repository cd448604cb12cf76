#pragma once
// "siri.DAT": the remembered port number as one line, " 3 " and CR LF for port 3 (a blank in
// place of the plus sign, one blank after the number).

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

inline constexpr const char* kPortFileName = "siri.DAT";

std::string FormatPortFile(int number);
// The whole number the text starts with (blanks before it skipped, anything after it ignored);
// nothing when it starts with none, or the number does not fit the port number's 16 bits.
std::optional<int> ParsePortFile(std::string_view text);

}  // namespace korvane
