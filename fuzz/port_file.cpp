// The port file. Any bytes give a port number in 16 bits or nothing; a number read, and every
// 16-bit number, is written in the file's format and reads back the same.

#include "files/port_file.h"

#include <limits>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  fuzz::ByteReader in(data, size);
  for (const auto number :
       {ParsePortFile(std::string_view(reinterpret_cast<const char*>(data), size)),
        std::optional<int>(in.int16())}) {
    if (!number) continue;
    FUZZ_CHECK(*number >= std::numeric_limits<std::int16_t>::min() &&
                   *number <= std::numeric_limits<std::int16_t>::max(),
               "");
    const std::string file = FormatPortFile(*number);
    FUZZ_CHECK(file.ends_with(" \r\n") && ParsePortFile(file) == number, file);
  }
  return 0;
}
