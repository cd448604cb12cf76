#include "files/port_file.h"

#include <cstdint>
#include <limits>

namespace korvane {

std::string FormatPortFile(int number) {
  return (number < 0 ? "" : " ") + std::to_string(number) + " \r\n";
}

std::optional<int> ParsePortFile(std::string_view text) {
  std::size_t i = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (i < text.size() && blank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long value = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
    value = value * 10 + (text[i] - '0');
    if (value > std::numeric_limits<std::int16_t>::max() + 1L) return std::nullopt;
  }
  if (digits == 0) return std::nullopt;
  value = negative ? -value : value;
  if (value > std::numeric_limits<std::int16_t>::max()) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace korvane
