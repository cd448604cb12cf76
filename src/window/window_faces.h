#pragma once
// How a shell shows what the control table and the texts describe, decided once for every shell:
// the colours a control is drawn in now, the fonts a shell may pick from and the text they must
// all draw, and the menu's key letters. A shell only turns the answers into its own objects.

#include <string>
#include <string_view>
#include <vector>

#include "window/layout.h"
#include "window/texts.h"

namespace korvane {

// Whether the calculator has highlighted a field: never, now (while its complaint shows), or
// before (the field then keeps the button face, not its own colour).
enum class Highlight : std::uint8_t { Never, Now, Before };

// What a control's face is filled with now: the highlight of a field the calculator complains
// about, the button face once it has been highlighted, else the table's colour; a read-only field
// without one the button face; a lamp its colour now (fill), a line its own.
// SystemColour::Default leaves the control as the system draws it. Labels stand on the window's
// background.
Paint ControlBack(const ControlEntry& entry, Highlight highlight, Colour fill);
// A label's caption colour: the table's RGB, else the system's highlight text.
Paint CaptionColour(const ControlEntry& entry);

// The letter of a standard key with Ctrl (Ctrl+S saves), '\0' for none; and a menu entry's text
// with that key after a tab ("設定をバックアップ...\tCtrl+S"), as a native menu shows it.
char ShortcutLetter(StandardKey key);
std::string MenuText(const MenuEntry& entry);

// The faces a shell without the design's font tries, best first, and every text the main window
// and its menu and busy notice show: the face chosen must have a glyph for each of its
// characters (a font without kanji draws boxes).
inline constexpr std::string_view kFallbackFace = "MS UI Gothic";
std::vector<std::string_view> CandidateFaces();
std::string GlyphsNeeded();

}  // namespace korvane
