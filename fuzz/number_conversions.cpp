// The number conversions on any text. A number read and written as command text reads back as
// the same text; a whole number is whole, and lies within one below the number read from the
// start of the same text; the same text typed in full-width characters reads the same.

#include "settings/number_conversions.h"

#include <cmath>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double leading = LeadingNumber(text);
  FUZZ_CHECK(!std::isnan(leading), text);
  // Every printable ASCII character in its full-width form, as an input method types it.
  std::string fullWidth;
  for (const char c : text) {
    const unsigned code = 0xFEE0u + static_cast<unsigned char>(c);  // U+FF01..U+FF5E for ! to ~
    if (c <= ' ' || c > '~') fullWidth += c;
    if (c > ' ' && c <= '~')
      fullWidth += {'\xEF', char(0x80 | (code >> 6 & 0x3F)), char(0x80 | (code & 0x3F))};
  }
  FUZZ_CHECK(LeadingNumber(fullWidth) == leading, fullWidth);
  FUZZ_CHECK(WholeNumber(fullWidth) == WholeNumber(text), fullWidth);
  if (std::isfinite(leading)) {
    const std::string written = NumberText(leading);
    FUZZ_CHECK(!written.empty() && written.find(' ') == std::string::npos, written);
    FUZZ_CHECK(NumberText(LeadingNumber(written)) == written, written);
  }
  const auto whole = WholeNumber(text);
  if (!whole) return 0;
  FUZZ_CHECK(std::isfinite(*whole) && std::floor(*whole) == *whole, text);
  // One floors the digits, the other rounds them to the nearest double: above 2^53 the two may
  // differ by the rounding alone. Below 10^15 a whole number is written exactly.
  if (std::fabs(*whole) < 0x1p53) FUZZ_CHECK(*whole <= leading && leading <= *whole + 1, text);
  if (std::fabs(*whole) < 1e15) FUZZ_CHECK(WholeNumber(NumberText(*whole)) == whole, text);
  return 0;
}
