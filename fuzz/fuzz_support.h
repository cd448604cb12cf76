#pragma once
// What every fuzz target shares: a check that stops the run loudly (libFuzzer keeps the input
// that broke it), a reader that turns the input into decisions, and a strict UTF-8 test written
// apart from the tool's own repair.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// Shows the text that broke the property, escaped.
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

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing above
// U+10FFFF, no sequence cut short.
inline bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || text.size() - i < length) return false;
    std::uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = code << 6 | (next & 0x3F);
    }
    const std::uint32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < lowest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

}  // namespace korvane::fuzz
