#pragma once
// A picture of the window as a PNG file's bytes, for the shells' --screenshot: 8-bit RGB rows,
// stored without compression (the file is a few hundred KiB and needs no library).

#include <cstdint>
#include <span>
#include <string>

namespace korvane {

// rgb holds height rows of width pixels, three bytes each, top row first.
std::string EncodePng(int width, int height, std::span<const std::uint8_t> rgb);

}  // namespace korvane
