// Operating buttons, the clock, the calculator's send phase, presets and the USER file, on the
// virtual rig.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "kit/virtual_kit.h"

namespace korvane {
namespace {

using kit::Rig;
using Writes = std::vector<std::pair<double, std::string>>;

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

struct ButtonCase {
  std::string button;
  std::vector<std::string> sent;
  int magenta, teal;  // 0: no lamp moves
};
class OperatingButton : public ::testing::TestWithParam<ButtonCase> {};
TEST_P(OperatingButton, SendsItsCommandsBackToBackAndMovesItsLampsEvenWhenClosed) {
  const ButtonCase& c = GetParam();
  for (bool open : {true, false}) {
    Rig rig;
    if (open) rig.openPort();
    rig.form.Click(c.button);
    EXPECT_EQ(rig.port.sent(), open ? c.sent : std::vector<std::string>{});
    for (const auto& w : rig.port.writes) EXPECT_EQ(w.t, 0);
    for (int s = 1; s <= 14; ++s) {
      const Colour want = s == c.magenta ? kMagenta : s == c.teal ? kTeal : kGreen;
      EXPECT_EQ(rig.panel.lamp(s), want) << c.button << " Shape" << s;
    }
    EXPECT_EQ(rig.form.ReplyKind(), 0);
  }
}
INSTANTIATE_TEST_SUITE_P(
    Table, OperatingButton,
    ::testing::Values(
        ButtonCase{"Command1", {":TA#"}, 1, 2}, ButtonCase{"Command2", {":TB#"}, 2, 1},
        ButtonCase{"Command3", {":TC#"}, 3, 4}, ButtonCase{"Command4", {":TD#"}, 4, 3},
        ButtonCase{"Command8", {":TV#"}, 5, 6}, ButtonCase{"Command7", {":TW#"}, 6, 5},
        ButtonCase{"Command10", {":Te#"}, 0, 0}, ButtonCase{"Command9", {":Td#"}, 0, 0},
        ButtonCase{"Command27", {":TQ#"}, 0, 0}, ButtonCase{"Command26", {":TL#"}, 0, 0},
        ButtonCase{"Command25", {":TS#"}, 0, 0}, ButtonCase{"Command24", {":T0#"}, 0, 0},
        ButtonCase{"Command23", {":T+#"}, 0, 0}, ButtonCase{"Command22", {":T-#"}, 0, 0},
        ButtonCase{"Command30", {":=SD#", ":RG#"}, 0, 0}, ButtonCase{"Command31", {":RC#"}, 0, 0},
        ButtonCase{"Command32", {":RM#"}, 0, 0}, ButtonCase{"Command33", {":RS#"}, 0, 0},
        ButtonCase{"Command37", {":TJ#"}, 0, 0}, ButtonCase{"Command35", {":TG#", ":=SE#"}, 0, 0},
        ButtonCase{"Command36", {":TF#", ":=SE#"}, 0, 0}));

TEST(OperatingButton, TheTwoAxesAreIndependent) {
  Rig rig;
  rig.form.Click("Command1");
  rig.form.Click("Command4");
  for (int s = 1; s <= 4; ++s) EXPECT_EQ(rig.panel.lamp(s), s % 3 == 1 ? kMagenta : kTeal) << s;
}

TEST(ClockSet, DateNowTimeAfterThePauseEvenAcrossMidnight) {
  Rig rig;
  rig.openPort();
  using namespace std::chrono;
  rig.loop.clockAtZero =
      sys_days{year{2026} / 6 / 30} + hours{23} + minutes{59} + seconds{59} + milliseconds{500};
  rig.form.Command34_Click();
  EXPECT_EQ(rig.port.timed(), (Writes{{0, ":SC06/30/26#"}, {1000, ":SL00:00:00#"}}));
}

TEST(ClockSet, PortClosedStillPausesAndAPortLostDuringThePauseDropsTheTime) {
  Rig rig;
  rig.form.Command34_Click();
  EXPECT_TRUE(rig.port.writes.empty());
  EXPECT_DOUBLE_EQ(rig.loop.nowMs, 1000);
  Rig lost;
  lost.openPort();
  lost.loop.at(500, [&] { lost.form.Port_Lost(); });
  lost.form.Command34_Click();
  EXPECT_EQ(lost.port.writes.size(), 1u);
}

TEST(Calculator, APValuesWithThePortClosedComputeAndSendNothing) {
  Rig rig;
  rig.panel.texts["Combo2"] = "AP";
  rig.form.Combo2_Click();
  EXPECT_TRUE(rig.port.writes.empty());
  EXPECT_EQ(rig.panel.text("Text4"), "2.26666666666666");
  // The results themselves are the calculator's; here they need only reach their fields.
  EXPECT_EQ(rig.panel.text("Text1(4)"), "3626");
  EXPECT_EQ(rig.panel.text("Text11"), "413");
  EXPECT_EQ(rig.panel.lamp(2), kMagenta);  // 赤経-
  EXPECT_EQ(rig.panel.lamp(3), kMagenta);  // 赤緯+
  EXPECT_EQ(rig.panel.lamp(1), kTeal);
  EXPECT_FALSE(rig.panel.busy);
}

TEST(Calculator, APWithThePortOpenSendsDirectionsThenTheSendPhaseBehindTheBusyWindow) {
  Rig rig;
  rig.openPort();
  bool lockedDuring = false;
  rig.loop.at(1200, [&] { lockedDuring = rig.panel.busy && !rig.panel.isEnabled("Form1"); });
  rig.panel.texts["Combo2"] = "AP";
  rig.form.Combo2_Click();
  EXPECT_EQ(rig.port.timed(), (Writes{{0, ":TB#"},
                                      {0, ":TC#"},
                                      {0, ":TB#"},
                                      {500, ":TC#"},
                                      {1000, ":$PA400#"},
                                      {1500, ":$PB1450#"},
                                      {2000, ":$PC1450#"},
                                      {2500, ":$PD3626#"},
                                      {3000, ":$PE3626#"}}));
  EXPECT_TRUE(lockedDuring);
  EXPECT_FALSE(rig.panel.busy);
  EXPECT_TRUE(rig.panel.isEnabled("Form1"));
  EXPECT_TRUE(rig.panel.isEnabled("Command19"));
  EXPECT_EQ(rig.form.ReplyKind(), 100);
}

TEST(Calculator, DirectionsComeFromThePlusLampsGreenMeaningMinus) {
  Rig rig;
  rig.openPort();
  rig.panel.texts["Text1(0)"] = "400";
  rig.form.Command19_Click();  // design gear values, lamps still green
  ASSERT_GE(rig.port.writes.size(), 2u);
  EXPECT_EQ(rig.port.writes[0].bytes, ":TB#");
  EXPECT_EQ(rig.port.writes[1].bytes, ":TD#");
}

TEST(Calculator, AFailedCheckHighlightsTheFieldWhileTheMessageShowsAndChangesNothing) {
  Rig rig;
  rig.openPort();
  rig.panel.texts["Text4"] = "";
  rig.panel.texts["Text1(0)"] = "";
  rig.panel.texts["Text1(1)"] = "old";
  bool highlightedWhileShown = false;
  rig.op.whileShown = [&] { highlightedWhileShown = rig.panel.highlighted["Text4"]; };
  rig.form.Command19_Click();
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_EQ(rig.op.messages[0].text, "赤経中間ギア比を入力してください");
  EXPECT_EQ(rig.op.messages[0].title, "");
  EXPECT_TRUE(highlightedWhileShown);
  EXPECT_FALSE(rig.panel.highlighted["Text4"]);
  EXPECT_EQ(rig.panel.text("Text1(1)"), "old");
  EXPECT_TRUE(rig.port.writes.empty());
}

TEST(Calculator, StepsThatComputeToZeroAreRefusedBeforeAnythingIsSent) {
  Rig rig;
  rig.openPort();
  rig.panel.texts["Text2"] = "0";
  rig.form.Command19_Click();
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_TRUE(rig.port.writes.empty());
  EXPECT_FALSE(rig.panel.busy);
  for (const char* f : {"Text1(1)", "Text10", "Text11"}) {
    EXPECT_EQ(rig.panel.text(f).find("inf"), std::string::npos);
  }
}

TEST(Presets, UnknownNameChangesNoFieldButStillCalculates) {
  Rig rig;
  rig.panel.texts["Combo2"] = "ap";
  rig.panel.texts["Text1(0)"] = "400";
  rig.form.Combo2_Click();
  EXPECT_EQ(rig.panel.text("Text4"), "3.333");
  EXPECT_FALSE(rig.panel.text("Text10").empty());
  EXPECT_EQ(rig.panel.lamp(1), kGreen);
}

TEST(UserPreset, SaveThenUserReloadsFieldsAndDirectionsExactly) {
  Rig rig;
  rig.panel.texts["Combo2"] = "NJP";
  rig.form.Combo2_Click();
  rig.panel.texts["Text9"] = "1,5";
  rig.panel.texts["Text3"] = "";
  rig.form.Command28_Click();
  ASSERT_EQ(rig.op.messages.size(), 2u);
  EXPECT_EQ(rig.op.messages[0].text, "USER 設定を保存しますか？");
  EXPECT_EQ(rig.op.messages[0].title, "プリセット保存");
  EXPECT_EQ(rig.op.messages[1].text, "保存しました。");
  EXPECT_EQ(slurp(rig.dir.path / "SetData.txt"),
            R"("200","","3","240","200","8","3","1,5","400","1","0",)");

  Rig later;
  std::filesystem::copy_file(rig.dir.path / "SetData.txt", later.dir.path / "SetData.txt");
  later.form.Form_Load();
  EXPECT_EQ(later.panel.text("Text3"), "");
  EXPECT_EQ(later.panel.text("Text9"), "1,5");
  EXPECT_EQ(later.panel.lamp(1), kMagenta);
  EXPECT_EQ(later.panel.lamp(4), kMagenta);
  EXPECT_EQ(later.panel.lamp(2), kTeal);
}

TEST(UserPreset, CancelWritesNothing) {
  Rig rig;
  rig.op.answer = MessageButton::Cancel;
  rig.form.Command28_Click();
  EXPECT_FALSE(std::filesystem::exists(rig.dir.path / "SetData.txt"));
  EXPECT_EQ(rig.op.messages.size(), 1u);
}

// In a folder named in Japanese (wide paths on Windows) a save lands and loads back. A save that
// cannot replace the file, marked read-only by its owner or a folder in its place, names the file,
// keeps what was there and leaves no temporary file beside it.
TEST(UserPreset, SavesInAFolderNamedInJapaneseAndAFailedSaveKeepsWhatWasThere) {
  namespace fs = std::filesystem;
  Rig rig(u8"korvane-設定");
  const fs::path file = rig.dir.path / "SetData.txt";
  rig.form.Command28_Click();
  EXPECT_EQ(rig.op.messages.back().text, "保存しました。");
  const std::string saved = slurp(file);
  const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  for (const bool folderInItsPlace : {false, true}) {
    if (folderInItsPlace) {
      fs::permissions(file, writeBits, fs::perm_options::add);
      fs::remove(file);
      fs::create_directory(file);
    } else {
      fs::permissions(file, writeBits, fs::perm_options::remove);
    }
    rig.panel.texts["Text2"] = "123";
    rig.op.messages.clear();
    rig.form.Command28_Click();
    ASSERT_EQ(rig.op.messages.size(), 2u) << folderInItsPlace;
    EXPECT_EQ(rig.op.messages[1].title, "保存エラー");
    EXPECT_NE(rig.op.messages[1].text.find("korvane-設定"), std::string::npos)
        << rig.op.messages[1].text;
    EXPECT_TRUE(folderInItsPlace ? fs::is_directory(file) : slurp(file) == saved);
    EXPECT_EQ(std::distance(fs::directory_iterator(rig.dir.path), fs::directory_iterator()), 1);
    rig.form.Load_Set();  // the read-only file loads; the folder is passed over
    EXPECT_EQ(rig.panel.text("Text2"), folderInItsPlace ? "123" : "200");
  }
}

struct LoadCase {
  std::string file;
  std::string text2;
  Colour shape1, shape3;
};
class LoadSet : public ::testing::TestWithParam<LoadCase> {};
TEST_P(LoadSet, RestoresWhatTheFileHoldsAndStopsWhereItIsDamaged) {
  Rig rig;
  std::ofstream(rig.dir.path / "SetData.txt", std::ios::binary) << GetParam().file;
  rig.form.Load_Set();
  EXPECT_EQ(rig.panel.text("Text2"), GetParam().text2);
  EXPECT_EQ(rig.panel.lamp(1), GetParam().shape1);
  EXPECT_EQ(rig.panel.lamp(3), GetParam().shape3);
  EXPECT_TRUE(rig.op.messages.empty());
}
INSTANTIATE_TEST_SUITE_P(
    Files, LoadSet,
    ::testing::Values(
        LoadCase{R"("1","8","3","144","200","8","3","144","400","2","0",)", "1", kMagenta, kTeal},
        LoadCase{R"("1","8","3","144","200","8","3","144","400","0.9","-1",)", "1", kTeal, kTeal},
        LoadCase{R"("1","8","3","144","200","8","3","144","400","x","1",)", "1", kGreen, kGreen},
        LoadCase{R"("1","8","3","144","200","8","3","144","400","1","",)", "1", kMagenta, kGreen},
        LoadCase{R"("1","8","3","144","200","8","3","144","400","1",)", "200", kGreen, kGreen},
        LoadCase{"", "200", kGreen, kGreen}));

}  // namespace
}  // namespace korvane
