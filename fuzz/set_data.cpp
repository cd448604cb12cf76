// The settings file text. Any bytes parse or fail without harm, and any eleven texts without a
// double quote (commas, line ends, blanks and bytes of every kind included) come back exactly
// from the text we write.

#include "files/set_data.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvane::fuzz::ByteReader in(data, size);
  const std::string_view whole(reinterpret_cast<const char*>(data), size);

  if (const auto parsed = korvane::Parse_SetData(whole)) {
    // What was read, written again, reads the same: the fields hold no quote that could shift
    // them, or the quote was part of an unquoted field and stays there.
    bool anyQuote = false;
    for (const auto& field : *parsed) anyQuote |= field.find('"') != std::string::npos;
    if (!anyQuote) FUZZ_CHECK(korvane::Parse_SetData(korvane::Format_SetData(*parsed)) == parsed);
  }

  korvane::SetDataFields fields;
  for (auto& field : fields) {
    for (char c : in.text()) {
      if (c != '"') field.push_back(c);
    }
  }
  const std::string file = korvane::Format_SetData(fields);
  FUZZ_CHECK_TEXT(korvane::Parse_SetData(file) == fields, file);
  return 0;
}
