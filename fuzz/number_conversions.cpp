// The three number conversions on any text. A number read from a text and written as command
// text reads back as the same command text; a whole number is whole; the floor of a text lies
// within one of the number read from its start.

#include "settings/number_conversions.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  using korvane::LeadingNumber;
  using korvane::NumberText;

  const double leading = LeadingNumber(text);
  FUZZ_CHECK_TEXT(!std::isnan(leading), text);
  if (std::isfinite(leading)) {
    const std::string written = NumberText(leading);
    FUZZ_CHECK_TEXT(!written.empty() && written.find(' ') == std::string::npos, written);
    FUZZ_CHECK_TEXT(NumberText(LeadingNumber(written)) == written, written);
  }

  const auto whole = korvane::WholeNumber(text);
  if (whole) {
    FUZZ_CHECK_TEXT(std::isfinite(*whole) && std::floor(*whole) == *whole, text);
    // Both read the same digits when the text is a number as a whole; one rounds to the nearest
    // double, the other floors. Above 2^53 doubles are all whole and the two may differ by the
    // rounding of the digits alone.
    if (std::fabs(*whole) < 0x1p53) {
      FUZZ_CHECK_TEXT(*whole <= leading && leading <= *whole + 1, text);
    }
    // Command text keeps 15 significant digits: below 10^15 a whole number is written exactly.
    if (std::fabs(*whole) < 1e15) {
      FUZZ_CHECK_TEXT(korvane::WholeNumber(NumberText(*whole)) == whole, text);
    }
  }
  return 0;
}
