#pragma once
// What every fuzz target shares: a check that stops the run loudly with the text that broke it
// (libFuzzer keeps the input), and a reader that turns the input into decisions.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition, text)                                                \
  do {                                                                             \
    if (!(condition)) korvane::fuzz::fail(#condition, __FILE__, __LINE__, (text)); \
  } while (false)

namespace korvane::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line, std::string_view text) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n  text: ", file, line, what);
  for (unsigned char c : text) std::fprintf(stderr, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
  std::fputc('\n', stderr);
  std::abort();
}

// The input from the front; once it is used up every read gives zero or nothing.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}
  bool empty() const { return rest_.empty(); }
  std::uint8_t byte() { return empty() ? 0 : static_cast<std::uint8_t>(take(1)[0]); }
  std::int16_t int16() {  // low byte first
    const int low = byte();
    return static_cast<std::int16_t>(low | byte() << 8);
  }
  std::string_view take(std::size_t n) {  // up to n bytes
    const std::string_view taken = rest_.substr(0, n);
    rest_.remove_prefix(taken.size());
    return taken;
  }
  std::string_view text() { return take(byte()); }  // as long as the next byte says
  std::string_view rest() { return take(rest_.size()); }

 private:
  std::string_view rest_;
};

}  // namespace korvane::fuzz
