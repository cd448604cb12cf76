#pragma once
// A picture of the window as a PNG file's bytes, for the shells' --screenshot: 8-bit RGB rows,
// stored without compression (the file is a few hundred KiB and needs no library).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace korvane {

// rgb holds height rows of width pixels, three bytes each, top row first.
std::string EncodePng(int width, int height, std::span<const std::uint8_t> rgb);

// The rows EncodePng takes from height rows of blue, green, red (a Windows bitmap's order), top
// row first, each stride bytes apart.
std::vector<std::uint8_t> RgbFromBgr(std::span<const std::uint8_t> bgr, int width, int height,
                                     int stride);

}  // namespace korvane
