#pragma once
// What every fuzz target shares: a reader that turns the fuzzer's bytes into decisions, a check
// that stops the run loudly (libFuzzer keeps the input that failed), and a strict UTF-8 test that
// does not share code with the tool's own repair function.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                              \
  do {                                                                                     \
    if (!(condition)) korvane::fuzz::checkFailed(#condition, __FILE__, __LINE__, nullptr); \
  } while (false)

// The same, with the text that broke the property shown (escaped).
#define FUZZ_CHECK_TEXT(condition, text)                                                   \
  do {                                                                                     \
    if (!(condition)) korvane::fuzz::checkFailed(#condition, __FILE__, __LINE__, &(text)); \
  } while (false)

namespace korvane::fuzz {

[[noreturn]] inline void checkFailed(const char* what, const char* file, int line,
                                     const std::string* text) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
  if (text != nullptr) {
    std::fprintf(stderr, "  text: \"");
    for (unsigned char c : *text) {
      if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
        std::fputc(c, stderr);
      } else {
        std::fprintf(stderr, "\\x%02X", c);
      }
    }
    std::fprintf(stderr, "\"\n");
  }
  std::abort();
}

// Consumes the input from the front; once it is used up every read gives zero or nothing.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size)
      : rest_(reinterpret_cast<const char*>(data), size) {}

  bool empty() const { return rest_.empty(); }
  std::size_t remaining() const { return rest_.size(); }

  std::uint8_t byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  std::int16_t int16() {
    const auto low = byte();
    const auto high = byte();
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(low | (high << 8)));
  }
  // Up to n bytes.
  std::string_view bytes(std::size_t n) {
    const auto taken = rest_.substr(0, n);
    rest_.remove_prefix(taken.size());
    return taken;
  }
  // A text of the length the next byte says.
  std::string_view text() { return bytes(byte()); }
  std::string_view all() { return bytes(rest_.size()); }

 private:
  std::string_view rest_;
};

// Well-formed UTF-8: no stray continuation byte, no overlong form, no surrogate, nothing above
// U+10FFFF, no sequence cut short.
inline bool isValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    std::size_t length = 0;
    std::uint32_t code = 0;
    std::uint32_t lowest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07, lowest = 0x10000;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

}  // namespace korvane::fuzz
