#pragma once
// Text is UTF-8 everywhere: on the wire, in the fields and in the local files. Bytes that are not
// UTF-8 (a garbled reply, a file in another encoding) are never shown as broken text.

#include <cstddef>
#include <string>
#include <string_view>

namespace korvane {

// Windows editors put this in front of a UTF-8 file.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Invalid sequences become U+FFFD, one for each byte that starts no valid character.
std::string ValidUtf8(std::string_view bytes);

// The last character, never half of one; a broken sequence at the end gives its last byte.
std::string_view LastUtf8Character(std::string_view text);

// The full-width forms of the ASCII characters (U+FF01 to U+FF5E, what a Japanese input method
// types: "－１０", "８５＊", "３．３３３") as those characters; everything else unchanged.
std::string HalfWidth(std::string_view text);

// Control bytes and the backslash as "\xNN", so that a value printed on a terminal stays one
// line and one column; with asciiOnly every byte outside printable ASCII as well.
std::string Escaped(std::string_view bytes, bool asciiOnly = false);

}  // namespace korvane
