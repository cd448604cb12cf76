// The command a SET button builds, for any index and any text. Whatever the text, the outcome
// is nothing, the rejection notice, a refusal, or exactly one command: it starts with ":", holds
// no other ":" and one "#", the last character, and no control character, so that nothing typed
// can end it early or start a second command. Ranged rows send only values inside their range.

#include "settings/set_command.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "protocol/catalogue.h"
#include "protocol/command_set.h"
#include "settings/number_conversions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvane::fuzz::ByteReader in(data, size);
  const std::int16_t index = in.int16();  // low byte first; rows 0..20 exist
  const std::string text(in.all());

  using Kind = korvane::SetOutcome::Kind;
  const korvane::SetRow* row = korvane::setRowByIndex(index);
  if (row == nullptr) return 0;
  const korvane::SetOutcome outcome = korvane::Build_SetCmd(*row, text);
  if (row->skipsEmpty && text.empty()) FUZZ_CHECK(outcome.kind == Kind::Nothing);

  switch (outcome.kind) {
    case Kind::Nothing:
      FUZZ_CHECK(outcome.text.empty());
      break;
    case Kind::Rejection:
      FUZZ_CHECK(outcome.text == korvane::kRejectionNotice);
      FUZZ_CHECK(row->ranged);
      break;
    case Kind::Refused:
      FUZZ_CHECK(!outcome.text.empty());  // the operator is told why
      break;
    case Kind::Command: {
      const std::string& command = outcome.text;
      FUZZ_CHECK_TEXT(command.starts_with(row->prefix), command);
      FUZZ_CHECK_TEXT(command.front() == ':', command);
      FUZZ_CHECK_TEXT(std::count(command.begin(), command.end(), ':') == 1, command);
      FUZZ_CHECK_TEXT(std::count(command.begin(), command.end(), '#') == 1, command);
      FUZZ_CHECK_TEXT(command.back() == '#', command);
      for (char c : command) {
        const auto byte = static_cast<unsigned char>(c);
        FUZZ_CHECK_TEXT(byte >= 0x20 && byte != 0x7F, command);
      }
      if (row->ranged) {
        // The whole number that passed the range test is the one sent.
        const std::string value =
            command.substr(row->prefix.size(), command.size() - row->prefix.size() - 1);
        const auto sent = korvane::WholeNumber(value);
        FUZZ_CHECK_TEXT(sent.has_value(), command);
        FUZZ_CHECK_TEXT(*sent >= row->low && *sent <= row->high, command);
        FUZZ_CHECK_TEXT(sent == korvane::WholeNumber(text), command);
      }
      break;
    }
  }
  return 0;
}
