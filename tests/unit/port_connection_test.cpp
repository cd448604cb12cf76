// Start-up, the port choice, "切断" and the end of the program, on the virtual rig.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "files/port_file.h"
#include "kit/virtual_kit.h"

namespace korvane {
namespace {

using kit::Rig;

std::string slurp(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
void put(const std::filesystem::path& p, std::string_view bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

TEST(PortFile, FormatIsABlankTheNumberABlankAndCrLf) {
  EXPECT_EQ(FormatPortFile(3), " 3 \r\n");
  EXPECT_EQ(FormatPortFile(12), " 12 \r\n");
  EXPECT_EQ(FormatPortFile(-2), "-2 \r\n");
}

struct ParseCase {
  std::string text;
  std::optional<int> number;
};
class PortFileParse : public ::testing::TestWithParam<ParseCase> {};
TEST_P(PortFileParse, TakesTheFirstWholeNumber) {
  EXPECT_EQ(ParsePortFile(GetParam().text), GetParam().number) << GetParam().text;
}
INSTANTIATE_TEST_SUITE_P(Cases, PortFileParse,
                         ::testing::Values(ParseCase{" 3 \r\n", 3}, ParseCase{" 12 ", 12},
                                           ParseCase{"7", 7}, ParseCase{"\r\n 5 \r\n", 5},
                                           ParseCase{"", std::nullopt},
                                           ParseCase{"abc", std::nullopt}, ParseCase{"-4 \r\n", -4},
                                           ParseCase{"99999999999", std::nullopt},
                                           ParseCase{"32767", 32767}));

// The text left in Combo1 when it loses focus, and what follows.
struct ChoiceCase {
  std::string typed;
  int portAfter;  // starting from port 4
};
class PortChoice : public ::testing::TestWithParam<ChoiceCase> {};
TEST_P(PortChoice, ClosesTheParsesOnlyExactListTextsBeepsAndSaves) {
  Rig rig;
  rig.port.setNumber(4);
  rig.openPort();
  rig.panel.texts["Combo1"] = GetParam().typed;
  rig.form.Combo1_LostFocus();
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_EQ(rig.port.number(), GetParam().portAfter);
  EXPECT_EQ(rig.op.beeps, 1);
  EXPECT_EQ(slurp(rig.dir.path / "siri.DAT"), FormatPortFile(GetParam().portAfter));
  EXPECT_TRUE(rig.op.messages.empty());
}
INSTANTIATE_TEST_SUITE_P(Cases, PortChoice,
                         ::testing::Values(ChoiceCase{"COM7", 7}, ChoiceCase{"COM1", 1},
                                           ChoiceCase{"COM19", 19}, ChoiceCase{"COM20", 4},
                                           ChoiceCase{"com3", 4}, ChoiceCase{" COM3", 4},
                                           ChoiceCase{"COM3 ", 4}, ChoiceCase{"", 4},
                                           ChoiceCase{"COM4", 4}, ChoiceCase{"COM07", 4}));

TEST(StartUp, FirstRunShowsCom10ButConnectOpensPort1) {
  Rig rig;
  rig.form.Form_Load();
  EXPECT_EQ(rig.panel.text("Combo1"), "COM10");
  EXPECT_EQ(rig.port.number(), 1);
  EXPECT_FALSE(rig.port.isOpen());
  EXPECT_TRUE(rig.port.writes.empty());
  rig.form.Command11_Click();
  EXPECT_TRUE(rig.port.isOpen());
  EXPECT_EQ(rig.port.number(), 1);
}

// Damaged files and folders in its place are the fault matrix's; here what a number does.
TEST(StartUp, TakesThePortFromTheFileUnlessItIsRefused) {
  const std::pair<std::string_view, int> files[] = {
      {" 12 \r\n", 12}, {"garbage", 1}, {"0", 1}, {"-3", 1}, {"", 1}};
  for (const auto& [content, port] : files) {
    Rig rig;
    put(rig.dir.path / "siri.DAT", content);
    rig.form.Form_Load();
    EXPECT_EQ(rig.port.number(), port) << content;
    EXPECT_EQ(rig.panel.text("Combo1"), port == 1 ? "COM10" : "COM12") << content;
    EXPECT_TRUE(rig.op.messages.empty());
  }
}

TEST(PortChoice, ThenConnectOpensTheNewPort) {
  Rig rig;
  rig.panel.texts["Combo1"] = "COM5";
  rig.form.Combo1_LostFocus();
  rig.form.Command11_Click();
  EXPECT_EQ(rig.port.number(), 5);
  EXPECT_TRUE(rig.port.isOpen());
}

TEST(Connect, PortInUseShowsOneMessageAndStillRunsEveryWait) {
  Rig rig;
  rig.port.openable = false;
  rig.form.Command11_Click();
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_EQ(rig.op.messages[0].text, "現在使用できるポートがありません。");
  EXPECT_EQ(rig.op.messages[0].title, "通信エラー");
  EXPECT_EQ(rig.op.messages[0].style, MessageStyle::OkCancelExclamation);
  EXPECT_TRUE(rig.port.writes.empty());
  EXPECT_EQ(rig.loop.waits.size(), 29u);
  EXPECT_DOUBLE_EQ(rig.loop.nowMs, 29 * 400.0);
  for (int shape = 1; shape <= 4; ++shape) EXPECT_EQ(rig.panel.lamp(shape), kGreen);
}

TEST(Disconnect, ClearsExactlyTheParameterFieldsComboAndLamps) {
  Rig rig;
  rig.openPort();
  for (int i : {0, 1, 5, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 99}) {
    rig.panel.texts[text1(i)] = "v" + std::to_string(i);
  }
  rig.panel.texts["Combo3"] = "6";
  rig.panel.texts["Text10"] = "1.7";
  for (int s = 1; s <= 14; ++s) rig.panel.lamps[s] = kMagenta;
  rig.form.Command12_Click();
  EXPECT_FALSE(rig.port.isOpen());
  for (int i : {0, 1, 5, 14, 15, 16, 17, 20, 21, 22, 23, 24, 25}) {
    EXPECT_EQ(rig.panel.text(text1(i)), "") << i;
  }
  for (int i : {18, 19, 99}) EXPECT_EQ(rig.panel.text(text1(i)), "v" + std::to_string(i)) << i;
  EXPECT_EQ(rig.panel.text("Combo3"), "");
  EXPECT_EQ(rig.panel.text("Text10"), "1.7");
  EXPECT_EQ(rig.panel.text("Text2"), "200");
  for (int s = 1; s <= 14; ++s) EXPECT_EQ(rig.panel.lamp(s), kTeal) << s;
  EXPECT_TRUE(rig.op.messages.empty());
}

TEST(PortLost, TellsTheOperatorOnceUntilTheNextConnect) {
  Rig rig;
  rig.openPort();
  rig.form.Port_Lost();
  rig.form.Port_Lost();
  EXPECT_FALSE(rig.port.isOpen());
  ASSERT_EQ(rig.op.messages.size(), 1u);
  EXPECT_EQ(rig.op.messages[0].title, "通信エラー");
  rig.form.COMM1open();
  rig.form.Port_Lost();
  EXPECT_EQ(rig.op.messages.size(), 2u);
}

}  // namespace
}  // namespace korvane
