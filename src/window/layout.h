#pragma once
// The main window as data: every control with its name, kind, caption, place and look. The
// window is built from this one table by one loop; nothing about a control's place or colour is
// written anywhere else.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "window/colour.h"

namespace korvane {

inline constexpr int kTwipsPerPixel = 15;  // at the design's 96 dots per inch
// The client area.
inline constexpr int kClientWidthTwips = 13875;
inline constexpr int kClientHeightTwips = 8520;

// What a message box without a title of its own shows (in Qt not the application display name,
// which Qt would append to every window title as well).
inline constexpr std::string_view kApplicationTitle = "Korvane ｾｯﾃｲ";
inline constexpr std::string_view kWindowTitle = " Korvane ｾｯﾃｲ ver." KORVANE_VERSION;
inline constexpr int kLampCount = 14;  // Shape1..Shape14
inline constexpr std::string_view kWindowFontFamily = "ＭＳ Ｐゴシック";
inline constexpr double kWindowFontPoints = 9.0;
inline constexpr double kSmallFontPoints = 8.25;

inline constexpr Colour kWindowBackground{0, 64, 0};
inline constexpr Colour kHighlightColour{255, 255, 128};  // a field the calculator complains about

enum class ControlKind : std::uint8_t { Label, Button, Field, Combo, Lamp, Line };
enum class Align : std::uint8_t { Left, Centre, Right };

// Colours that come from the system's palette rather than from an RGB.
enum class SystemColour : std::uint8_t {
  Default,        // whatever the control shows by default
  HighlightText,  // captions: white in the usual theme
  AppWorkspace,   // Line2 and Line6: the background of a workspace
  ButtonFace,     // a read-only field without a colour of its own
};
// A control's colour: an exact RGB, or one of the system's.
using Paint = std::variant<Colour, SystemColour>;
inline constexpr Paint kSystemColour = SystemColour::Default;

enum ControlFlag : std::uint8_t {
  kReadOnly = 1,
  kHidden = 2,  // exists and holds text, but is never shown nor reachable by Tab
  kFlat = 4,    // a field too low for a sunken frame
};

struct ControlEntry {
  std::string_view name;  // "Text1(5)", "Command6(14)", "Shape13", "Label1(23)", "Line6", ...
  ControlKind kind;
  std::string_view caption;  // label or button text, initial text of a field
  int x, y, w, h;            // twips from the top left corner of the client area
  Align align = Align::Left;
  double points = kWindowFontPoints;
  Paint fore = kSystemColour;
  Paint back = kSystemColour;
  std::uint8_t flags = 0;
  // Fields: the accessible name (the caption of their row). Buttons whose caption alone does not
  // say what they act on ("SET", "ON", "OFF"): the accessible description.
  std::string_view access = {};

  constexpr bool has(ControlFlag flag) const { return (flags & flag) != 0; }
};

std::span<const ControlEntry> windowControls();

// The shown buttons, fields and boxes by name, in the order Tab visits them. First the row of
// the port box (Combo1, 接続, 切断): nothing else works before the port is open, so the window
// opens with the focus there. Then the window as it reads: column by column from the left, each
// column row by row from the top, each row from the left. A control belongs to the column it
// begins in; a row is a control and those below it whose middles still lie within its height.
std::vector<std::string_view> TabOrder();

// Combo3's channel list, with a blank before the single digits as the controller's replies have.
inline constexpr std::array<std::string_view, 10> kChannelItems{" 1", " 2", " 3", " 4", " 5",
                                                                " 6", " 7", " 8", " 9", "10"};
inline constexpr int kPortCount = 19;  // Combo1: "COM1".."COM19"
inline constexpr std::string_view kInitialPortText = "COM10";

// The list of a combo box (Combo1 the ports, Combo2 the presets and "USER", Combo3 the channels)
// and the text it starts with ("COM10", else empty).
std::vector<std::string> ComboItems(std::string_view combo);
std::string_view ComboFirstText(std::string_view combo);

// 1440 twips to the inch; the window was drawn for 96 dots per inch, 15 twips to the pixel.
inline constexpr int kDesignDpi = 96;
inline constexpr int twipsToPixels(int twips, int dpi = kDesignDpi) {
  return (twips * dpi + 720) / 1440;
}

}  // namespace korvane
