// The port file "siri.DAT". Any bytes give a port number in 16 bits or nothing; a number read is
// written back in the file's format and reads back the same, and so does every 16-bit number.

#include "files/port_file.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "fuzz/fuzz_support.h"

namespace {

void checkRoundTrip(int number) {
  const std::string file = korvane::FormatPortFile(number);
  FUZZ_CHECK_TEXT(file.ends_with(" \r\n"), file);
  FUZZ_CHECK_TEXT(korvane::ParsePortFile(file) == number, file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (const auto number = korvane::ParsePortFile(text)) {
    FUZZ_CHECK(*number >= std::numeric_limits<std::int16_t>::min() &&
               *number <= std::numeric_limits<std::int16_t>::max());
    checkRoundTrip(*number);
  }
  korvane::fuzz::ByteReader in(data, size);
  checkRoundTrip(in.int16());
  return 0;
}
