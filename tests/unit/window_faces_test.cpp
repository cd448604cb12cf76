// What both shells take from the core to show the window: colours, menu, fonts, tips, pictures.

#include "window/window_faces.h"

#include <gtest/gtest.h>

#include "app/port_tooltip.h"
#include "window/png.h"

namespace korvane {
namespace {

constexpr ControlEntry Entry(ControlKind kind, Paint back = {}, std::uint8_t flags = 0) {
  return {"X", kind, "", 0, 0, 1, 1, Align::Left, 9, kSystemColour, back, flags};
}
constexpr Colour kSilver{192, 192, 192};
constexpr SystemColour kDefault = SystemColour::Default, kWork = SystemColour::AppWorkspace;

// A field highlighted by a complaint keeps the button face afterwards, not its own colour.
TEST(ControlBack, HighlightThenTheTablesColourThenTheSystems) {  // a lamp's fill now is kTeal
  using H = Highlight;
  const std::tuple<ControlEntry, H, Paint> cases[] = {
      {Entry(ControlKind::Field, kSilver, kReadOnly), H::Now, kHighlightColour},
      {Entry(ControlKind::Field, kSilver), H::Before, SystemColour::ButtonFace},
      {Entry(ControlKind::Field, kSilver, kReadOnly), H::Never, kSilver},
      {Entry(ControlKind::Field, kDefault, kReadOnly), H::Never, SystemColour::ButtonFace},
      {Entry(ControlKind::Combo, kDefault), H::Never, kDefault},
      {Entry(ControlKind::Lamp, kGreen), H::Now, kTeal},
      {Entry(ControlKind::Line, kWork), H::Now, kWork},
      {Entry(ControlKind::Label, kSilver), H::Now, kWindowBackground}};
  for (const auto& [entry, highlight, back] : cases)
    EXPECT_EQ(ControlBack(entry, highlight, kTeal), back) << int(entry.kind) << int(highlight);
  const std::pair<Paint, Paint> captions[] = {{kSilver, kSilver},
                                              {kDefault, SystemColour::HighlightText}};
  for (ControlEntry label = Entry(ControlKind::Label); const auto& [fore, caption] : captions) {
    label.fore = fore;
    EXPECT_EQ(CaptionColour(label), caption);
  }
}

TEST(MenuText, TheCaptionAndItsKeyWithCtrl) {
  // clang-format off
  const std::tuple<std::size_t, char, std::string_view> cases[] = {{0, 'S', "設定をバックアップ...\tCtrl+S"},
      {1, 'O', "設定を比較・復元...\tCtrl+O"}, {2, '\0', "変更履歴..."}, {4, 'Q', "終了\tCtrl+Q"}};
  // clang-format on
  for (const auto& [i, letter, text] : cases) {
    EXPECT_EQ(ShortcutLetter(kFileMenuEntries[i].key), letter) << text;
    EXPECT_EQ(MenuText(kFileMenuEntries[i]), text);
  }
  for (std::string_view text : {kBusyNotice, kFileMenu, std::string_view("Goto Alert, Buzzer")})
    EXPECT_NE(GlyphsNeeded().find(text), std::string::npos) << text;
}

TEST(PortTips, EachItemsDeviceByItsNumberAndTheBoxsLines) {
  using Strings = std::vector<std::string>;  // items, numbers asked, texts given, the box's tip
  const std::tuple<Strings, std::vector<int>, Strings, std::string> cases[] = {
      {{"COM1", "com4"}, {1, 0}, {"d1", "d0", "extra"}, "COM1  d1|com4  d0"},
      {{"COM200", "COM4"}, {200, 4}, {"d"}, "COM200  d|"}};  // fewer texts than items
  for (const auto& [items, numbers, texts, tip] : cases) {
    std::vector<int> asked;
    const Strings tips = PortItemTips(items, [&](const std::vector<int>& n) {
      asked = n;
      return texts;
    });
    EXPECT_EQ(asked, numbers);
    EXPECT_EQ(tips.size(), std::min(items.size(), texts.size()));
    EXPECT_EQ(PortListTip(items, tips, "|"), tip);
  }
}

TEST(RgbFromBgr, SwapsEachPixelAndSkipsTheRowsPadding) {
  using Bytes = std::vector<std::uint8_t>;  // width, height, stride, blue-green-red, red-green-blue
  // clang-format off
  const std::tuple<int, int, int, Bytes, Bytes> cases[] = {{1, 1, 4, {1, 2, 3, 0}, {3, 2, 1}},
      {2, 2, 8, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}}};
  // clang-format on
  for (const auto& [w, h, stride, bgr, rgb] : cases) EXPECT_EQ(RgbFromBgr(bgr, w, h, stride), rgb);
}

// The header any viewer reads first: the signature, then IHDR (13 bytes) with the width and the
// height as four bytes each, the most significant first.
TEST(EncodePng, TheSignatureThenTheSizeInTheHeaderChunk) {
  for (const auto& [w, h] : {std::pair{1, 1}, {70000, 2}}) {
    const std::string png = EncodePng(w, h, std::vector<std::uint8_t>(std::size_t(w) * h * 3, 0));
    const auto at = [&](std::size_t i) { return std::uint32_t(std::uint8_t(png.at(i))); };
    const auto be32 = [&](std::size_t i) {
      return at(i) << 24 | at(i + 1) << 16 | at(i + 2) << 8 | at(i + 3);
    };
    EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
    EXPECT_EQ(be32(8), 13u);
    EXPECT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(be32(16), std::uint32_t(w));
    EXPECT_EQ(be32(20), std::uint32_t(h));
  }
}

}  // namespace
}  // namespace korvane
