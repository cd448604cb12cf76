// The command a SET button builds, for any index and any text: nothing, the rejection notice, a
// refusal, or exactly one command that starts with ":", holds no other ":" and one "#", the last
// character, and no control character, so that nothing typed can end it early or start a second
// one. Ranged rows send the whole number of the text, and only inside their range.

#include "settings/set_command.h"

#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "protocol/catalogue.h"
#include "settings/number_conversions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvane::fuzz::ByteReader in(data, size);
  const int index = in.int16();  // rows 0..20 exist
  const std::string text(in.rest());
  const korvane::SetRow* row = korvane::setRowByIndex(index);
  if (row == nullptr) return 0;
  const korvane::SetOutcome out = korvane::Build_SetCmd(*row, text);
  const std::string& c = out.text;
  using Kind = korvane::SetOutcome::Kind;
  if (row->skipsEmpty && text.empty()) FUZZ_CHECK(out.kind == Kind::Nothing, c);
  FUZZ_CHECK(c.empty() == (out.kind == Kind::Nothing), c);  // a refusal says why
  if (out.kind == Kind::Rejection) FUZZ_CHECK(c == ":=SG#" && row->ranged, c);
  if (out.kind != Kind::Command) return 0;
  FUZZ_CHECK(c.starts_with(row->prefix) && c.back() == '#', c);
  FUZZ_CHECK(std::ranges::count(c, ':') == 1 && std::ranges::count(c, '#') == 1, c);
  FUZZ_CHECK(std::ranges::none_of(c, [](unsigned char b) { return b < 0x20 || b == 0x7F; }), c);
  // A number goes out as digits, never in exponent form.
  using Form = korvane::ValueForm;
  if (row->form != Form::Typed && row->form != Form::SignInverted)
    FUZZ_CHECK(c.find('E', row->prefix.size()) == c.npos, c);
  if (row->ranged) {
    const auto sent = korvane::WholeNumber(std::string_view(c)
                                               .substr(row->prefix.size())
                                               .substr(0, c.size() - row->prefix.size() - 1));
    FUZZ_CHECK(sent && *sent >= row->low && *sent <= row->high, c);
    FUZZ_CHECK(sent == korvane::WholeNumber(text), c);
  }
  return 0;
}
