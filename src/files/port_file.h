#pragma once
// "siri.DAT": the remembered port number as one line, " 3 " and CR LF for port 3 (a blank in
// place of the plus sign, one blank after the number).

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

inline constexpr const char* kPortFileName = "siri.DAT";

std::string FormatPortFile(int number);
// The first whole number in the text, blanks around it ignored; nothing when there is none or
// it does not fit the port number's 16 bits.
std::optional<int> ParsePortFile(std::string_view text);

}  // namespace korvane
