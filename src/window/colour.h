#pragma once
// A colour as the window shows it, and the lamps' three colours.

namespace korvane {

struct Colour {
  int r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Colour, Colour) = default;
};

// Lamp fill colours: the operator reads state from these exact values.
inline constexpr Colour kGreen{0, 128, 0};      // design colour; the direction lamps after "接続"
inline constexpr Colour kMagenta{255, 0, 255};  // the chosen or reported state of a pair
inline constexpr Colour kTeal{0, 128, 128};  // the other lamp of the pair; every lamp after "切断"

}  // namespace korvane
