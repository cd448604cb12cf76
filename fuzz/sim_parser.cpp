// The simulator's command parser on any byte stream. Every exchange it reports is one command from
// ":" to "#", and how the stream is cut into reads changes nothing: the same bytes in one piece
// give the same exchanges and leave the controller in the same state.

#include "fuzz/fuzz_support.h"
#include "sim/controller_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using korvane::sim::ControllerModel;
  korvane::fuzz::ByteReader in(data, size);
  std::vector<std::size_t> cuts(in.byte() % 16);  // the first bytes: lengths of the pieces
  for (auto& cut : cuts) cut = in.byte();
  cuts.push_back(size);  // and the rest
  const std::string_view stream = in.rest();
  const korvane::sim::Millis now{1234};  // one time for every read: clock replies agree
  ControllerModel split, whole;
  std::string pieces, once;  // every exchange as command, reply and whether it was known
  auto note = [](std::string& out, const std::vector<korvane::sim::Exchange>& exchanges) {
    for (const auto& ex : exchanges) {
      FUZZ_CHECK(ex.command.size() >= 2 && ex.command.size() <= ControllerModel::kMaxCommandLength,
                 ex.command);
      FUZZ_CHECK(ex.command.front() == ':' && ex.command.find('#') == ex.command.size() - 1,
                 ex.command);
      FUZZ_CHECK(ex.reply.empty() || ex.reply.back() == '#', ex.reply);
      out += ex.command + ex.reply + (ex.known ? "\n" : "?\n");
    }
  };
  std::size_t at = 0;
  for (std::size_t cut : cuts) {
    const std::string_view piece = stream.substr(std::min(at, stream.size()), cut);
    at += piece.size();
    note(pieces, split.receive(piece, now));
  }
  note(once, whole.receive(stream, now));
  FUZZ_CHECK(pieces == once, pieces);
  FUZZ_CHECK(
      split.unknownCommands() == whole.unknownCommands() && split.clock(now) == whole.clock(now),
      "");
  // Both hold the same settings: every query answers the same on both ("#" ends a half command).
  const std::string_view queries =
      "#:GXE1#:GXE4#:GXE5#:GXE7#:GXEE#:Gg#:Gt#:GG#:%BR#:%BD#:GXEA#:GXE9#:Go#:Gh#:G1#:G2#:GXEL#"
      ":GXEM#:GXEN#:GXES#:GXET#:GXEF#:GXEG#:GXEH#:GXEI#:GX95#:GXEQ#:GXEP#:GX81#:GX80#";
  FUZZ_CHECK(joinReplies(split.receive(queries, now)) == joinReplies(whole.receive(queries, now)),
             "");
  return 0;
}
