// The simulator's command parser on any byte stream. Every exchange it reports is one command
// from ":" to "#", and how the stream is cut into reads changes nothing: the same bytes in one
// piece give the same exchanges and leave the controller in the same state.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "sim/controller_model.h"

namespace {

using korvane::sim::ControllerModel;
using korvane::sim::Exchange;
using korvane::sim::Millis;

// "#" first ends whatever command the stream left half-received.
constexpr std::string_view kEveryQuery =
    "#:GXE1#:GXE4#:GXE5#:GXE7#:GXEE#:Gg#:Gt#:GG#:%BR#:%BD#:GXEA#:GXE9#:Go#:Gh#:G1#:G2#:GXEL#"
    ":GXEM#:GXEN#:GXES#:GXET#:GXEF#:GXEG#:GXEH#:GXEI#:GX95#:GXEQ#:GXEP#:GX81#:GX80#";

bool sameExchanges(const std::vector<Exchange>& a, const std::vector<Exchange>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].command != b[i].command || a[i].reply != b[i].reply || a[i].known != b[i].known) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvane::fuzz::ByteReader in(data, size);
  // The first bytes say where the stream is cut: each a length of the next piece.
  const std::size_t cuts = in.byte() % 16;
  std::vector<std::size_t> lengths;
  for (std::size_t i = 0; i < cuts; ++i) lengths.push_back(in.byte());
  const std::string stream(in.all());

  const Millis now{1234};  // one time for every read, so that clock replies agree
  ControllerModel split;
  std::vector<Exchange> pieces;
  std::size_t at = 0;
  for (std::size_t length : lengths) {
    const auto piece = std::string_view(stream).substr(std::min(at, stream.size()), length);
    at += piece.size();
    for (auto& ex : split.receive(piece, now)) pieces.push_back(std::move(ex));
  }
  if (at < stream.size()) {
    for (auto& ex : split.receive(std::string_view(stream).substr(at), now)) {
      pieces.push_back(std::move(ex));
    }
  }

  for (const Exchange& ex : pieces) {
    FUZZ_CHECK_TEXT(ex.command.size() >= 2, ex.command);
    FUZZ_CHECK_TEXT(ex.command.front() == ':' && ex.command.back() == '#', ex.command);
    FUZZ_CHECK_TEXT(ex.command.find('#') == ex.command.size() - 1, ex.command);
    FUZZ_CHECK_TEXT(ex.command.size() <= ControllerModel::kMaxCommandLength, ex.command);
    FUZZ_CHECK_TEXT(ex.reply.empty() || ex.reply.back() == '#', ex.reply);
  }

  ControllerModel whole;
  const std::vector<Exchange> once = whole.receive(stream, now);
  FUZZ_CHECK(sameExchanges(pieces, once));
  FUZZ_CHECK(split.unknownCommands() == whole.unknownCommands());
  FUZZ_CHECK(split.clock(now) == whole.clock(now));
  // Both hold the same settings: every query answers the same on both.
  FUZZ_CHECK(sameExchanges(split.receive(kEveryQuery, now), whole.receive(kEveryQuery, now)));
  return 0;
}
