#include "protocol/utf8.h"

#include <cstdint>

namespace korvane {

namespace {

// The length of the valid character that starts at `at`, 0 when none does: no overlong forms,
// no surrogates, nothing above U+10FFFF.
std::size_t validSequenceAt(std::string_view in, std::size_t at) {
  const auto c = static_cast<unsigned char>(in[at]);
  if (c < 0x80) return 1;
  std::size_t len = 0;
  std::uint32_t min = 0;
  if ((c & 0xE0) == 0xC0) {
    len = 2, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4, min = 0x10000;
  }
  if (len == 0 || at + len > in.size()) return 0;
  std::uint32_t cp = c & (0xFF >> (len + 1));
  for (std::size_t k = 1; k < len; ++k) {
    const auto cc = static_cast<unsigned char>(in[at + k]);
    if ((cc & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (cc & 0x3F);
  }
  const bool ok = cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
  return ok ? len : 0;
}

bool isContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string ValidUtf8(std::string_view in) {
  static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size();) {
    const std::size_t len = validSequenceAt(in, i);
    if (len == 0) {
      out += kReplacement;
      ++i;
    } else {
      out.append(in.substr(i, len));
      i += len;
    }
  }
  return out;
}

std::string_view LastUtf8Character(std::string_view text) {
  if (text.empty()) return {};
  std::size_t start = text.size() - 1;
  while (start > 0 && text.size() - start < 4 && isContinuationByte(text[start])) --start;
  if (validSequenceAt(text, start) != text.size() - start) start = text.size() - 1;
  return text.substr(start);
}

std::string HalfWidth(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    // U+FF01..U+FF3F are EF BC 81..BF, U+FF40..U+FF5E are EF BD 80..9E; each is 0xFEE0 above
    // its ASCII form.
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    if (i + 2 < text.size() && b(0) == 0xEF && (b(1) == 0xBC || b(1) == 0xBD) && b(2) >= 0x80 &&
        b(2) <= 0xBF) {
      const unsigned code = (b(1) == 0xBC ? 0xFF00u : 0xFF40u) | (b(2) & 0x3Fu);
      if (code >= 0xFF01 && code <= 0xFF5E) {
        out += static_cast<char>(code - 0xFEE0);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

std::string Escaped(std::string_view bytes, bool asciiOnly) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7f || b == '\\' || (asciiOnly && b > 0x7f)) {
      out += {'\\', 'x', kHex[b >> 4], kHex[b & 15]};
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace korvane
