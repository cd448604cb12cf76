// korvane-sim: the mount controller on a pseudo-terminal, for trying and testing the tool.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "sim/pty_loop.h"

namespace {

constexpr const char* kUsage =
    "usage: korvane-sim [options]\n"
    "Serves a simulated mount controller on a new pseudo-terminal and prints\n"
    "\"PTY <slave path>\" on stdout once the line is ready.\n"
    "  --link PATH         make PATH a symbolic link to the slave (removed at exit)\n"
    "  --log FILE          write one line per command received: <ms since start> <command>\n"
    "  --delay MS          answer MS milliseconds after a query (default 5)\n"
    "  --late              answer 600 ms after a query\n"
    "  --silent            never answer\n"
    "  --split-gap MS      send answers one byte at a time, MS milliseconds apart\n"
    "  --garbage           send bytes without '#' in place of every answer\n"
    "  --modem             answer \"OK\" and a line end in place of every answer, as another\n"
    "                      device (a modem) on the port would\n"
    "  --ack               answer \"1#\" to every command that is no query, as some firmware does\n"
    "  --lamp-words        report each lamp pair's state as \"ON\" or \"OFF\" instead of 1 or 0\n"
    "  --keep-unsent       send an answer that falls due after the line closed all the same,\n"
    "                      for the next program that opens the port to find\n"
    "  --answer TEXT       answer every query with TEXT, as a mount of another make might\n"
    "  --flood BYTES       send BYTES bytes without '#' once, before the first answer\n"
    "  --hangup-after N    close the line and exit after answering N commands\n"
    "  --exit-on-close     exit when the tool closes the line instead of waiting for the next "
    "open\n"
    "  --help              show this text\n";

bool readNumber(const char* text, long long& value) {
  const char* end = text + std::strlen(text);
  auto [ptr, ec] = std::from_chars(text, end, value);
  return ec == std::errc{} && ptr == end && value >= 0;
}

}  // namespace

int main(int argc, char** argv) {
  korvane::sim::SimOptions options;
  auto& faults = options.faults;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    long long n = 0;
    auto number = [&] { return hasValue && readNumber(argv[++i], n); };
    if (arg == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (arg == "--silent") {
      faults.silent = true;
    } else if (arg == "--late") {
      faults.late = true;
    } else if (arg == "--garbage") {
      faults.garbage = true;
    } else if (arg == "--modem") {
      faults.modem = true;
    } else if (arg == "--ack") {
      faults.ackWrites = true;
    } else if (arg == "--keep-unsent") {
      faults.keepUnsent = true;
    } else if (arg == "--answer" && hasValue) {
      faults.answer = argv[++i];
    } else if (arg == "--lamp-words") {
      faults.lampWords = true;
    } else if (arg == "--exit-on-close") {
      options.exitOnClose = true;
    } else if (arg == "--link" && hasValue) {
      options.linkPath = argv[++i];
    } else if (arg == "--log" && hasValue) {
      options.logPath = argv[++i];
    } else if (arg == "--delay" && number()) {
      faults.delay = korvane::sim::Millis{n};
    } else if (arg == "--split-gap" && number()) {
      faults.splitGap = korvane::sim::Millis{n};
    } else if (arg == "--flood" && number()) {
      faults.floodBytes = static_cast<std::size_t>(n);
    } else if (arg == "--hangup-after" && number() && n > 0) {
      faults.hangupAfter = static_cast<std::uint64_t>(n);
    } else {
      std::fprintf(stderr, "korvane-sim: bad option or value: %.*s\n%s",
                   static_cast<int>(arg.size()), arg.data(), kUsage);
      return 2;
    }
  }
  return korvane::sim::runPtyLoop(options);
}
