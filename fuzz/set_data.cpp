// The settings file. Any bytes parse or fail without harm; what was read, written again, reads
// the same (unless a field holds a quote); and any eleven texts without a quote come back exactly
// from the text we write.

#include "files/set_data.h"

#include <algorithm>

#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvane;
  fuzz::ByteReader in(data, size);
  const auto parsed = Parse_SetData(std::string_view(reinterpret_cast<const char*>(data), size));
  if (parsed && std::ranges::none_of(*parsed, [](auto& f) { return f.find('"') != f.npos; })) {
    FUZZ_CHECK(Parse_SetData(Format_SetData(*parsed)) == parsed, Format_SetData(*parsed));
  }
  SetDataFields fields;
  for (auto& field : fields)
    std::ranges::copy_if(in.text(), std::back_inserter(field), [](char c) { return c != '"'; });
  FUZZ_CHECK(Parse_SetData(Format_SetData(fields)) == fields, Format_SetData(fields));
  return 0;
}
