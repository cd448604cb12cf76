// The decisions made without the window: numbers read from field texts and written into commands,
// the gear calculator, what a reply shows, what a SET button writes, the two local files, where
// they live, which device a port stands for, its tooltip, and the serial traffic log.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cmath>
#include <fstream>
#include <limits>
#include <map>
#include <set>

#include "app/local_files_place.h"
#include "app/port_names.h"
#include "app/port_search.h"
#include "app/port_tooltip.h"
#include "app/port_use.h"
#include "app/preset_list.h"
#include "app/progress_shown.h"
#include "app/start_up.h"
#include "app/traffic_log.h"
#include "app/wait_turns.h"
#include "files/local_file.h"
#include "files/port_file.h"
#include "files/set_data.h"
#include "kit/virtual_kit.h"
#include "presets/gear_calculator.h"
#include "settings/dispatch.h"
#include "settings/number_conversions.h"
#include "settings/set_command.h"
#include "window/layout.h"

namespace korvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr auto kNone = std::nullopt;
template <typename Case>
class Table : public ::testing::TestWithParam<Case> {};

// One text read both ways: LeadingNumber takes the number at the start, skipping blanks inside;
// WholeNumber wants the text to be one number and floors it on its digits.
using Read = std::tuple<std::string, double, std::optional<double>>;
using Reading = Table<Read>;
TEST_P(Reading, LeadingAndWholeNumber) {
  const auto& [text, leading, whole] = GetParam();
  EXPECT_EQ(LeadingNumber(text), leading) << text;
  EXPECT_EQ(WholeNumber(text), whole) << text;
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, Reading, ::testing::Values(
    Read{"", 0, kNone}, Read{" 300 ", 300, 300}, Read{"+35*40", 35, kNone}, Read{"-3.7", -3.7, -4},
    Read{"-4", -4, -4}, Read{"1 2", 12, kNone}, Read{"\t5\n", 5, kNone}, Read{"\r5", 0, kNone},
    Read{".5", .5, 0}, Read{"-.5", -.5, -1}, Read{"5.", 5, 5}, Read{".", 0, kNone}, Read{"--5", 0, kNone},
    Read{"- 5", -5, kNone}, Read{"1D3", 1000, 1000}, Read{"25d-1", 2.5, 2}, Read{"2E+2x", 200, kNone},
    Read{"5E+", 5, kNone}, Read{"E5", 0, kNone}, Read{"1.5.5", 1.5, kNone}, Read{"0x1F", 0, kNone},
    // Floored on the digits, not on the nearest double; exponents far beyond a double's.
    Read{"0.99999999999999999999", 1, 0}, Read{"-2.00000000000000000001", -2, -3},
    Read{"-1e-400", 0, -1}, Read{"1e99999999999999999999", kInf, kNone},
    Read{"0." + std::string(500, '0') + "1e501", 1, 1}, Read{std::string(400, '9'), kInf, kNone},
    // Full-width digits, signs and point (an input method's) read as their ASCII forms.
    Read{"－１０．５", -10.5, -11}, Read{"＋８５＊", 85, kNone}, Read{"\xEF\xBD\x9F" "1", 0, kNone}));
// clang-format on

// The calculator on NJP's gear table (Text2..Text9, MaxRate) with some inputs changed.
using Gear = std::tuple<const char*, std::vector<std::pair<int, std::string>>,
                        std::variant<GearResults, GearCheckFailure>>;
using Calculator = Table<Gear>;
TEST_P(Calculator, GivesTheStepParametersOrTheFirstComplaint) {
  GearInputs in{"200", "8", "3", "240", "200", "8", "3", "144", "400"};
  for (const auto& [position, text] : std::get<1>(GetParam())) in[position] = text;
  EXPECT_EQ(Calc_Gear(in), std::get<2>(GetParam())) << std::get<0>(GetParam());
}
constexpr std::string_view kUncomputable =
    "モーターステップ・固定係数・ギア比の値を確認してください"
    "（角度対ステップが0または計算できない値になります）";
// clang-format off
INSTANTIATE_TEST_SUITE_P(Inputs, Calculator, ::testing::Values(
    Gear{"LeadingNumbers", {{2, "3x"}, {8, " 400 rpm"}}, GearResults{"3200", "1920", "4800", "4800", ".78125", "187"}},
    Gear{"FullWidth", {{2, "３"}, {8, "４００"}}, GearResults{"3200", "1920", "4800", "4800", ".78125", "187"}},
    Gear{"NegativeRatio", {{2, "-3"}}, GearResults{"-3200", "1920", "-4800", "4800", "-.78125", "-188"}},
    Gear{"ExponentForm", {{0, "1e15"}}, GearResults{"1.6E+16", "1920", "2.4E+16", "4800", ".00000000000015625", "0"}},
    // Only the RA steps per degree divide: Dec steps of 0 are a result like any other.
    Gear{"DecStepsOfZero", {{5, "0"}}, GearResults{"3200", "0", "4800", "0", ".78125", "187"}},
    Gear{"FirstComplaint", {{2, ""}, {8, ""}}, GearCheckFailure{"Text4", "赤経中間ギア比を入力してください"}},
    Gear{"RaWorm", {{3, "abc"}}, GearCheckFailure{"Text5", "赤経ウォームギア比を入力してください"}},
    Gear{"DecGear", {{6, "0.0"}}, GearCheckFailure{"Text8", "赤緯中間ギア比を入力してください"}},
    Gear{"DecWorm", {{7, "-0"}, {8, "0"}}, GearCheckFailure{"Text9", "赤緯ウォームギア比を入力してください"}},
    Gear{"MaxRate", {{8, ""}}, GearCheckFailure{"Text1(0)", "MaxRateを入力してください"}},
    // Nothing sensible can be computed, and no single field is to blame.
    Gear{"BelowOneStepPerDegree", {{0, "1"}, {1, "1"}, {2, "1"}, {3, "359"}}, GearCheckFailure{"", kUncomputable}},
    Gear{"Overflow", {{0, "1e308"}, {1, "1e308"}}, GearCheckFailure{"", kUncomputable}},
    Gear{"TinyMaxRate", {{8, "1e-320"}}, GearCheckFailure{"", kUncomputable}},
    Gear{"Infinite", {{4, "1e999"}}, GearCheckFailure{"", kUncomputable}}));
// clang-format on

// What a reply under a kind shows: "Text1(5) +139*44", "Shape13 lit" (the other of its pair goes
// teal), both with a comma, or "" when it is dropped.
using Reply = std::tuple<int, std::string, std::string>;
using Dispatch = Table<Reply>;
TEST_P(Dispatch, ShowsTheReplyAsItsKindSays) {
  const auto& [kind, reply, shown] = GetParam();
  const ReplyEffects e = DispatchReply(kind, reply);
  std::string out;
  if (e.text) out = (e.text->field < 0 ? "Combo3" : "Text1(" + std::to_string(e.text->field) + ")");
  if (e.text) out += " " + e.text->text;
  if (e.lamps) {
    const int lit = e.lamps->firstLit ? e.lamps->pair.first : e.lamps->pair.second;
    out += (out.empty() ? "Shape" : ", Shape") + std::to_string(lit) + " lit";
  }
  EXPECT_EQ(out, shown) << "kind " << kind << " reply " << reply;
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Replies, Dispatch, ::testing::Values(
    // Dropped above the limit, by the number it starts with.
    Reply{1, "999", "Text1(0) 999"}, Reply{1, "999.5", ""}, Reply{3, "200000", "Text1(2) 200000"},
    Reply{3, "200000.01", ""}, Reply{5, "abc", "Text1(4) abc"}, Reply{5, "1e999", ""}, Reply{5, "2 00001", ""},
    // The sign turned round; without a sign nothing.
    Reply{6, "-139*44", "Text1(5) +139*44"}, Reply{8, "+09", "Text1(7) -09"}, Reply{6, "139*44", ""},
    Reply{6, "", ""}, Reply{6, " -1", ""}, Reply{7, "+35*40", "Text1(6) +35*40"}, Reply{100, "1", "Text1(99) 1"},
    // The channel: the number it ends in, else the last character; a broken sequence its last byte.
    Reply{23, "10", "Combo3 10"}, Reply{23, "ch07", "Combo3 7"}, Reply{23, "", "Combo3 "}, Reply{23, "x\xC3\xA9", "Combo3 \xC3\xA9"},
    Reply{23, "ch\xE3\x81\x82", "Combo3 \xE3\x81\x82"}, Reply{23, "\xF0\x9F\x94\xAD", "Combo3 \xF0\x9F\x94\xAD"},
    Reply{23, "a\x81\x82", "Combo3 \x82"}, Reply{23, "\xE3\x81", "Combo3 \x81"},
    // Lamps: 1 or more lights the first, and so does anything that is not a whole number.
    Reply{17, "1", "Text1(16) 1, Shape1 lit"}, Reply{18, "0", "Text1(17) 0, Shape4 lit"},
    Reply{26, " 0 ", "Shape8 lit"}, Reply{28, "0.9", "Shape12 lit"}, Reply{29, "", "Shape13 lit"},
    Reply{29, "0x", "Shape13 lit"},
    // Kinds nothing is expected under.
    Reply{0, "1", ""}, Reply{32, "1", ""}, Reply{99, "1", ""}, Reply{101, "1", ""}));
// clang-format on

// What Command6(index) writes for a field text: the command, the rejection notice, a refusal the
// operator is shown, or nothing.
using SetText = std::tuple<int, std::string, std::string>;
using SetButton = Table<SetText>;
const std::string kNotice = "(notice) :=SG#";
const std::string kRefused = "(refused) 「#」「:」や制御文字を含む値は送信できません。";
TEST_P(SetButton, WritesWhatTheFieldSays) {
  const auto& [index, text, written] = GetParam();
  const SetRow* row = setRowByIndex(index);  // no row: the button sends nothing
  const SetOutcome o = row ? Build_SetCmd(*row, text) : SetOutcome{};
  const char* kinds[] = {"", "", "(notice) ", "(refused) "};  // in the order of SetOutcome::Kind
  EXPECT_EQ(kinds[int(o.kind)] + o.text, written) << "Command6(" << index << ") with " << text;
  EXPECT_EQ(o.kind == SetOutcome::Kind::Command, written.starts_with(':'));
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, SetButton, ::testing::Values(
    // Rows 0..4: a whole number within the row's range, else the notice.
    SetText{0, "21", ":$PA21#"}, SetText{0, "20.9", kNotice}, SetText{0, "500.5", ":$PA500#"},
    SetText{0, "501", kNotice}, SetText{0, "  ", kNotice}, SetText{1, "499.99", kNotice},
    SetText{1, "10*30", kNotice}, SetText{3, "200001", kNotice}, SetText{4, "1e999", kNotice},
    // An empty field sends nothing up to row 15, an empty value from row 17 on; the channel says why.
    SetText{0, "", ""}, SetText{15, "", ""}, SetText{20, "", ":Sq#"},
    SetText{16, "", "(refused) チャンネル が空です。一覧から選んでください。"}, SetText{16, " ", "(refused) チャンネル が空です。一覧から選んでください。"},
    // Whole numbers, three digits, leading numbers.
    SetText{7, "abc", ""}, SetText{9, "0", ":$BR000#"}, SetText{10, "12.9", ":$BD012#"},
    SetText{5, "0.5", ":Sh.5#"}, SetText{5, "abc", ":Sh0#"}, SetText{16, "1e999", ""},
    // The sign turned back; without a sign nothing.
    SetText{11, "139*44", ""}, SetText{11, " -  139*44  ", ":Sg+139*44#"}, SetText{13, "-", ":SG+#"},
    SetText{13, "9+", ""}, SetText{11, "  ", ""},
    // Typed text without its outer blanks, and nothing that could end the command.
    SetText{12, "  ", ":St#"}, SetText{17, "  my ssid  ", ":Smmy ssid#"}, SetText{17, "a\x80", ":Sma\x80#"},
    SetText{17, "ab#:Te", kRefused}, SetText{18, "a:b", kRefused}, SetText{20, "x\ny", kRefused},
    SetText{17, std::string("a\0b", 3), kRefused}, SetText{17, "a\x7f", kRefused}, SetText{12, "+35#40", kRefused},
    SetText{11, "+1#:Te", kRefused}, SetText{11, "1#", ""},
    // Full-width numbers as ASCII; a site row takes ASCII only; a backlash of 0 to 999 only.
    SetText{5, "－１０", ":Sh-10#"}, SetText{6, "８５＊", ":So85#"}, SetText{11, "＋１３９＊４４", ":Sg-139*44#"},
    SetText{12, "北緯35", "(refused) 観測地　緯度 は半角の数字と記号（+ - * .）で入力してください。"},
    SetText{9, "1000", "(refused) バックラッシュ　赤経 は 0 から 999 までの整数で入力してください。"},
    SetText{10, "-5", "(refused) バックラッシュ　赤緯 は 0 から 999 までの整数で入力してください。"},
    // A number written in exponent form is no setting: refused, the row named.
    SetText{7, "1000000000000000", "(refused) 子午線　東側 には、その大きさの数は書き込めません。"},
    SetText{5, "-1e15", "(refused) 地平線 には、その大きさの数は書き込めません。"}, SetText{6, "999999999999999", ":So999999999999999#"},
    // No WiFi name longer than 32 bytes, no password longer than 63.
    SetText{17, std::string(32, 'n'), ":Sm" + std::string(32, 'n') + "#"}, SetText{20, std::string(63, 'p') + " ", ":Sq" + std::string(63, 'p') + "#"},
    SetText{19, std::string(33, 'n'), "(refused) WIFI (ST) SSID が長すぎます。32 バイトまでの文字にしてください。"},
    SetText{17, std::string(33, 'n'), "(refused) WIFI (AP) SSID が長すぎます。32 バイトまでの文字にしてください。"},
    // No such button.
    SetText{-1, "5", ""}, SetText{21, "5", ""}));
// clang-format on

// "SetData.txt" as saved by hand or by an old copy: quoted or not, one line or a field a line.
const SetDataFields kDigits{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
SetDataFields digitsWith(std::size_t i, std::string field) {
  SetDataFields out = kDigits;
  out[i] = std::move(field);
  return out;
}
using File = std::tuple<const char*, std::string, std::optional<SetDataFields>>;
using SetData = Table<File>;
TEST_P(SetData, ReadsElevenFieldsOrNothing) {
  EXPECT_EQ(Parse_SetData(std::get<1>(GetParam())), std::get<2>(GetParam()))
      << std::get<0>(GetParam());
}
// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, SetData, ::testing::Values(
    File{"Saved", Format_SetData(digitsWith(7, "1,5\n")), digitsWith(7, "1,5\n")},
    File{"TenFields", "\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\r\n", kNone},
    File{"ByteOrderMark", "\xEF\xBB\xBF\"1\",2,3,4,5,6,7,8,9,10,11", kDigits},
    File{"OnlyOneByteOrderMark", "\xEF\xBB\xBF\xEF\xBB\xBF" "1,2,3,4,5,6,7,8,9,10,11", digitsWith(0, "\xEF\xBB\xBF" "1")},
    File{"UnquotedWithBlanks", " 1 ,2,3,4,5,6,7,8,9,10,\t11\t", kDigits},
    File{"OneFieldALine", "1\n2\r\n3\r4\n5\n6\n7\n8\n9\n10\n11", kDigits},
    File{"CommaThenLineEnd", "\"1\",\r\n\"2\", \n3,4,5,6,7,8,9,10,11,\r\n", kDigits},
    File{"AfterTheQuoteSkipped", R"( "1"x,"2"  ,"3","4","5","6","7","8","9","10","11","12",x)", kDigits},
    File{"BlankLineIsAnEmptyField", "1\n\n3,4,5,6,7,8,9,10,11", digitsWith(1, "")},
    File{"UnclosedLastQuote", R"("1","2","3","4","5","6","7","8","9","10","11,)", digitsWith(10, "11,")},
    File{"UnclosedEarlyQuote", R"("1","2,3,4,5,6,7,8,9,10,11)", kNone}));
// clang-format on

TEST(PortFile, HoldsTheNumberBetweenBlanksAndReadsTheFirstWholeNumber) {
  EXPECT_EQ(FormatPortFile(12), " 12 \r\n");
  EXPECT_EQ(FormatPortFile(0), " 0 \r\n");  // no port chosen yet
  EXPECT_EQ(FormatPortFile(-2), "-2 \r\n");
  for (const auto& [text, number] : {std::pair<const char*, std::optional<int>>{"\r\n 12 ", 12},
                                     {"-32768", -32768},
                                     {"32768", kNone},
                                     {"- 4", kNone}}) {
    EXPECT_EQ(ParsePortFile(text), number) << text;
  }
}

// The program's arguments: what each run asks for, or the one line that says why it cannot run.
TEST(Arguments, EachRunOrTheReasonItCannotRun) {
  const auto run = [](std::vector<std::string> args) {
    System system = System::Posix;
    if (args.size() > 0 && args[0] == "windows") system = System::Windows, args.erase(args.begin());
    const Arguments a = ParseArguments(
        args,
        [](const std::filesystem::path& p) {
          return std::set<std::string>{"/d", "/d/設定", "/p"}.count(PathUtf8(p)) > 0;
        },
        system);
    if (!a.error.empty()) return a.error.substr(a.error.find(' ') + 1);
    if (a.help || a.version) return std::string(a.help ? "help" : "version");
    std::string out = a.mode ? "mode " + std::to_string(int(*a.mode)) + " " + PathUtf8(a.file) : "";
    if (!a.port.empty()) out += " port " + a.port;
    if (a.showSecrets) out += " secrets";
    if (a.dataFolder) out += " data " + PathUtf8(*a.dataFolder);
    if (a.portFolder) out += " ports " + PathUtf8(*a.portFolder);
    if (a.readAndScreenshot) out += " read+png " + PathUtf8(*a.readAndScreenshot);
    if (a.find) out += " find";
    if (a.journalEntries) out += " journal " + std::to_string(*a.journalEntries);
    return out;
  };
  const std::string usage =
      "\nusage: korvane-settei --backup|--compare|--restore FILE [--port PORT] [--show-secrets]\n";
  const std::string journal = "--journal takes a number of entries from 0 to 999999 (";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, ""},
      {{"--data-dir=/d/設定", "--read-and-screenshot", "a.png"}, " data /d/設定 read+png a.png"},
      {{"--restore", "a.ini", "--port", "COM3", "--show-secrets"},
       "mode 2 a.ini port COM3 secrets"},
      {{"--compare=-"}, "FILE is missing (\"-\" is an option)" + usage},
      {{"--backup", "--port", "COM1"}, "\"COM1\" is no option" + usage},  // not a backup of COM1
      {{"--backup", "a", "--", "--x"}, "\"--x\" is no option" + usage},
      {{"--backup", "a.ini", "--port", "-x"}, "PORT is missing" + usage},
      {{"--backup", "a.ini", "COM1"}, "\"COM1\" is no option" + usage},
      {{"--backup", "a", "--compare", "b"},
       "one of --backup, --compare, --restore (--port goes with one of them)\n"},
      {{"--port", "COM1"},
       "one of --backup, --compare, --restore (--port goes with one of them)\n"},
      {{"-h", "--backup", "a", "--compare", "b"}, "help"},
      {{"--version", "--control-rects", "r.txt"}, "version"},
      {{"--backup"}, "Missing value after '--backup'.\n"},
      {{"--show-secrets=1"}, "Unexpected value after '--show-secrets'.\n"},
      {{"--bogus", "-h"}, "Unknown option 'bogus'.\n"},
      {{"-hxy"}, "Unknown options: x, y.\n"},
      {{"--port-dir", "/p", "--find"}, " ports /p find"},
      {{"windows", "--port-dir", "/p", "--find"},
       "--port-dir is for Linux, where COMn may be a link in a folder; Windows opens its COM ports "
       "by name\n"},
      {{"windows", "--data-dir", "/p", "--find"}, " data /p find"},
      {{"--backup", "a.ini", "--port", "auto"}, "mode 0 a.ini port auto"},
      {{"--find", "--port", "COM1"}, "--find goes alone (with --port-dir at most)\n"},
      {{"--find", "--compare", "a.ini"}, "--find goes alone (with --port-dir at most)\n"},
      {{"--find", "COM3"}, "--find goes alone (with --port-dir at most)\n"},
      {{"--journal"}, " journal 20"},
      {{"--journal", "5", "--data-dir", "/d"}, " data /d journal 5"},
      {{"--journal", "0999999"}, " journal 999999"},
      {{"--journal=x"}, journal + "\"x\" is not a number)\n"},
      {{"--journal="}, journal + "\"\" is not a number)\n"},
      {{"--journal", "-5"}, journal + "\"-5\" is negative)\n"},
      {{"--journal=1000000"}, journal + "\"1000000\" is too large)\n"},
      {{"--journal", "99999999999999999999"}, journal + "\"99999999999999999999\" is too large)\n"},
      {{"--port-dir", "/nope", "--find"}, "--port-dir \"/nope\" is not an existing folder\n"},
      {{"--journal", "--data-dir=/d/x"}, "--data-dir \"/d/x\" is not an existing folder\n"},
      {{"--journal", "a.ini"}, "--journal goes alone (--data-dir, --show-secrets at most)\n"}};
  for (const auto& [args, outcome] : cases)
    EXPECT_EQ(run(args), outcome) << testing::PrintToString(args);
}

template <typename Paths>
PathExists existing(const Paths& paths) {
  return [paths](const std::filesystem::path& p) { return paths.count(p.generic_string()) > 0; };
}

// The list takes COM1..COM19, a typed or stored name COM1..COM255, each written exactly so.
TEST(PortNames, ComNumberTakesExactlyCOMnUpToItsLimit) {
  const std::tuple<const char*, int, int> cases[] = {
      {"COM1", 19, 1},      {"COM19", 19, 19},           {"COM20", 19, 0},  {"COM20", 255, 20},
      {"COM255", 255, 255}, {"COM256", 255, 0},          {"COM0", 255, 0},  {"COM07", 255, 0},
      {"com3", 255, 0},     {" COM3", 255, 0},           {"COM3 ", 255, 0}, {"COM", 255, 0},
      {"COM+3", 255, 0},    {"COM1000000000000", 255, 0}};
  for (const auto& [name, highest, number] : cases)
    EXPECT_EQ(ComNumber(name, highest), number) << name << " up to " << highest;
}

#ifdef _WIN32
TEST(PortDevice, IsTheSystemsOwnDeviceForAnyNumber) {
  EXPECT_EQ(PortDevice(10, "C:\\k", ExistsOnDisk), std::filesystem::path("\\\\.\\COM10"));
}
#else
// A link in the folder first, then a USB adapter, a USB modem, a built-in port: "COM1" is
// /dev/ttyUSB0.
TEST(PortDevice, ALinkInTheFolderOrTheFirstDeviceThatExists) {
  using Paths = std::set<std::string>;
  EXPECT_EQ(PortDevice(1, "/p", existing(Paths{"/p/COM1", "/dev/ttyUSB0"})), "/p/COM1");
  EXPECT_EQ(PortDevice(1, "/p", existing(Paths{"/dev/ttyUSB0", "/dev/ttyS0"})), "/dev/ttyUSB0");
  EXPECT_EQ(PortDevice(2, "/p", existing(Paths{"/dev/ttyS1", "/dev/ttyACM1", "/dev/ttyS2"})),
            "/dev/ttyACM1");
  EXPECT_EQ(PortDevice(3, "/p", existing(Paths{"/dev/ttyS3"})), "/p/COM3");
}
#endif

#ifndef _WIN32
// The ports a search tries: every link of the folder (a dangling one too: it is that port), and
// a device of the default mapping only where the system lists it as a serial port.
TEST(PortsPresent, TheFoldersLinksAndTheDevicesTheSystemLists) {
  using Paths = std::set<std::string>;
  // COM1 is ttyUSB0, COM2 ttyS1 (no chip: not listed), COM3 ttyS2; COM20 a link.
  const Paths files{"/p/COM20", "/dev/ttyUSB0", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS1"};
  const Paths listed{"/dev/ttyUSB0", "/dev/ttyS2"};
  EXPECT_EQ(PortsPresent("/p", existing(files), existing(listed)), (std::vector<int>{1, 3, 20}));
  EXPECT_TRUE(PortsWantDialoutGroup());
}
#else
TEST(PortsPresent, ThePortsTheSystemHas) {
  // The system is asked by the device's last part, as QueryDosDevice takes it.
  const auto listed = [](const std::filesystem::path& device) {
    return device.filename() == "COM3" || device.filename() == "COM31";
  };
  EXPECT_EQ(PortsPresent("C:/k", ExistsOnDisk, listed), (std::vector<int>{3, 31}));
  EXPECT_FALSE(PortsWantDialoutGroup());
}
#endif

// The search's one query is answered by the controller with a number of at most four digits, up
// to 999, and "#", and nothing else; any other answer is another device, decided as soon as it
// shows.
TEST(PortSearch, JudgesAnAnswerByItsForm) {
  using V = ReplyVerdict;
  const std::pair<std::string_view, V> cases[] = {
      {"", V::Incomplete},        {"4", V::Incomplete},       {"0999", V::Incomplete},
      {"400#", V::Controller},    {"0#", V::Controller},      {"999#", V::Controller},
      {"9999#", V::OtherDevice},  {"1000", V::OtherDevice},   {"40000", V::OtherDevice},
      {"#", V::OtherDevice},      {"OK\r\n", V::OtherDevice}, {"400#0", V::OtherDevice},
      {":GXE1#", V::OtherDevice}, {"-5#", V::OtherDevice},    {"4 0#", V::OtherDevice},
      {"40\r\n", V::OtherDevice}};
  for (const auto& [answer, verdict] : cases) EXPECT_EQ(JudgeProbeReply(answer), verdict) << answer;
}

TEST(PortSearch, TellsThePortFoundOrWhatEachPortGave) {
  const ProbeResult usb{
      5, "/dev/ttyUSB4\nFT232R USB UART, FTDI, USB 0403:6001", ProbeOutcome::Controller, {}, {}};
  const ProbeResult modem{1, "/dev/ttyS0", ProbeOutcome::OtherDevice, {}, {}};
  const ProbeResult locked{2, "/dev/ttyACM1", ProbeOutcome::NoPermission, {}, {}};
  EXPECT_EQ(FindMessage({{modem, usb}, false}, true),
            "コントローラーが見つかりました。\n"
            "COM5  /dev/ttyUSB4, FT232R USB UART, FTDI, USB 0403:6001\n"
            "このポートを選びました。「接続」で読み込めます。");
  EXPECT_EQ(FindMessage({{modem, locked}, false}, false),
            "コントローラーは見つかりませんでした。\n"
            "COM1  /dev/ttyS0: 別の機器の応答\nCOM2  /dev/ttyACM1: 開く権限がありません");
  EXPECT_NE(FindMessage({{modem, locked}, false}, true).find("dialout"), std::string::npos);
  EXPECT_EQ(FindMessage({{modem}, false}, true).find("dialout"), std::string::npos);
  EXPECT_EQ(FindMessage({}, false), "調べられるポートがありません。");
}

// Both shells' progress windows: what each says, and that each goes with the last step only, so
// that the result's message is not shown under it.
TEST(Progress, SaysHowFarAndGoesWithTheLastStep) {
  const std::tuple<ProgressStep, bool, std::string> cases[] = {
      {ReadProgressStep(1, 30), false, "1 / 30"},
      {ReadProgressStep(29, 30), false, "29 / 30"},
      {ReadProgressStep(30, 30), true, ""},
      {FindProgressStep(1, 2, 3), false, "COM3 を調べています（2 / 2）"},
      {FindProgressStep(2, 2, 3), true, ""}};
  for (const auto& [step, ends, text] : cases)
    EXPECT_EQ(std::tie(step.ends, step.text), std::tie(ends, text)) << text;
}

// Two numbers that lead to one device are one port to the search, named "COM1 = COM4"; a port
// whose device cannot be resolved (a link to an unplugged adapter) is a device of its own.
TEST(PortSearch, ProbesEachDeviceOnceUnderAllItsNames) {
  using Groups = std::vector<std::vector<int>>;
  const std::map<int, std::string> devices{
      {1, "/dev/ttyUSB0"}, {2, "/dev/ttyS1"},  {3, ""}, {4, "/dev/ttyUSB0"}, {5, ""},
      {6, "/dev/ttyS1"},   {7, "/dev/ttyUSB0"}};
  const auto device = [&](int n) { return devices.at(n); };
  const std::pair<std::vector<int>, Groups> cases[] = {
      {{1, 4}, {{1, 4}}},
      {{1, 2, 3, 4, 5, 6, 7}, {{1, 4, 7}, {2, 6}, {3}, {5}}},
      {{3, 5}, {{3}, {5}}},
      {{}, {}}};
  for (const auto& [numbers, groups] : cases)
    EXPECT_EQ(PortsByDevice(numbers, device), groups) << testing::PrintToString(numbers);
  const ProbeResult twice{1, "/p/COM1 → /dev/ttyUSB0", ProbeOutcome::Controller, {4}, {}};
  EXPECT_EQ(ProbeLine(twice), "COM1 = COM4\t/p/COM1 → /dev/ttyUSB0\tコントローラー");
  EXPECT_EQ(FindExitStatus({twice}), 0);
}

// Another process holds a port when it has the same device open, by its device number (another
// node of the same device) or its resolved path; this process's own files and any file of device
// number 0 (a pipe, a regular file) do not count.
TEST(PortUse, HeldWhenAnotherProcessHasTheDeviceOpen) {
  const DeviceId tty{"/dev/ttyUSB0", 0x1880}, file{"/p/COM1", 0};
  const std::tuple<DeviceId, OpenFile, bool> cases[] = {
      {tty, {7, "/dev/ttyUSB0", 0x1880}, true},
      {tty, {7, "/dev/serial0", 0x1880}, true},
      {tty, {7, "/dev/ttyUSB0 (deleted)", 0x1880}, true},
      {tty, {42, "/dev/ttyUSB0", 0x1880}, false},  // this process
      {tty, {7, "/dev/ttyUSB1", 0x1881}, false},
      {file, {7, "pipe:[123]", 0}, false},
      {file, {7, "/p/COM1", 0}, true}};
  for (const auto& [device, open, held] : cases)
    EXPECT_EQ(HeldByAnotherProcess(device, {open}, 42), held) << device.path << " " << open.target;
}

// A lock file names its process on its first line; it is stale once that process is gone, and a
// text that names none is left alone. Both names a port's device may be locked under are looked at.
TEST(PortUse, ALockIsStaleOnceItsProcessIsGone) {
  const auto gone = [](long pid) { return pid == 4321; };
  const std::pair<std::string_view, LockState> cases[] = {
      {"      4321\n", LockState::Stale},
      {"      1234\n", LockState::Live},
      {"4321\nminicom\nhost\n", LockState::Stale},
      {"1234", LockState::Live},
      {"0\n", LockState::Unreadable},
      {"-1\n", LockState::Unreadable},
      {"\xe1\x10\0\0", LockState::Unreadable},
      {"", LockState::Unreadable},
      {"99999999999\n", LockState::Unreadable}};
  for (const auto& [text, state] : cases)
    EXPECT_EQ(JudgeLockFile(text, gone), state) << testing::PrintToString(std::string(text));
  EXPECT_EQ(LockFileNames("/dev/ttyUSB0", {"/dev/ttyUSB0", 1}),
            (std::vector<std::string>{"LCK..ttyUSB0"}));
  EXPECT_EQ(LockFileNames("/home/u/COM1", {"/dev/pts/3", 1}),
            (std::vector<std::string>{"LCK.._home_u_COM1", "LCK..pts_3"}));
}

// Start-up reads only a regular file, and only its start: a directory or a named pipe in a file's
// place, or a file of 10 MiB, can neither hold it up nor fill the memory.
TEST(LocalFile, ReadsOnlyARegularFileAndOnlyItsStart) {
  const kit::TempDir dir;
  const auto path = dir.path / "SetData.txt";
  EXPECT_EQ(ReadLocalFile(path), std::nullopt);
  std::filesystem::create_directory(path);
  EXPECT_EQ(ReadLocalFile(path), std::nullopt);
  std::filesystem::remove(path);
  std::ofstream(path, std::ios::binary) << " 12 " << std::string(std::size_t{10} << 20, '\0');
  EXPECT_EQ(ReadLocalFile(path).value_or("").size(), std::size_t{64} << 10);
#ifndef _WIN32
  std::filesystem::remove(path);
  ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  EXPECT_EQ(ReadLocalFile(path), std::nullopt);  // at once, though nothing writes to it
#endif
}

// A backup's file is checked before its 12-second read: where it cannot be saved, said in words.
TEST(SaveTarget, AFileThatCannotBeSavedIsKnownBeforeAnythingIsMade) {
  namespace fs = std::filesystem;
  const kit::TempDir dir;
  std::ofstream(dir.path / "old.ini") << "x";
  std::ofstream(dir.path / "kept.ini") << "x";
  fs::permissions(dir.path / "kept.ini", fs::perms::all, fs::perm_options::remove);
  fs::permissions(dir.path / "kept.ini", fs::perms::owner_read, fs::perm_options::add);
  fs::create_directory(dir.path / "folder");
  const std::pair<const char*, SaveFault> cases[] = {
      {"new.ini", SaveFault::None},           {"old.ini", SaveFault::None},
      {"missing/a.ini", SaveFault::NoFolder}, {"old.ini/a.ini", SaveFault::NoFolder},
      {"folder", SaveFault::IsFolder},        {"kept.ini", SaveFault::ReadOnlyFile}};
  for (const auto& [name, fault] : cases)
    EXPECT_EQ(SaveTargetFault(dir.path / name), fault) << name;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 3);
  fs::permissions(dir.path / "kept.ini", fs::perms::owner_write, fs::perm_options::add);
}

#ifndef _WIN32
TEST(PortDevice, ALinkWhoseTargetIsMissingIsStillThePort) {  // never /dev/ttyS0 in its place
  const kit::TempDir dir;
  std::filesystem::create_symlink(dir.path / "unplugged-adapter", dir.path / "COM1");
  EXPECT_EQ(PortDevice(1, dir.path, ExistsOnDisk), dir.path / "COM1");
}
#endif

// Beside the program, unless it is an installed copy (its desktop entry in the prefix's share,
// and no CMakeCache.txt of a build beside it) or cannot write there.
TEST(LocalFilesPlace, BesideTheProgramUnlessInstalledOrUnwritable) {
  const std::string entry = "/share/applications/korvane-settei.desktop";
  const std::tuple<std::string, std::set<std::string>, bool, LocalFilesPlace> cases[] = {
      {"/usr/bin", {"/usr" + entry}, true, LocalFilesPlace::kUserDataFolder},
      {"/home/u/.local/bin", {"/home/u/.local" + entry}, true, LocalFilesPlace::kUserDataFolder},
      {"/opt/k", {"/opt/k" + entry}, true, LocalFilesPlace::kBesideProgram},
      {"/b", {"/b/CMakeCache.txt", entry}, true, LocalFilesPlace::kBesideProgram},
      {"/media/stick", {}, true, LocalFilesPlace::kBesideProgram},
      {"/media/cdrom", {}, false, LocalFilesPlace::kUserDataFolder}};
  for (const auto& [folder, paths, writable, place] : cases) {
    EXPECT_EQ(ChooseLocalFilesPlace(folder, existing(paths), writable), place) << folder;
  }
}

TEST(PortTooltip, NamesTheDeviceWhereALinkLeadsAndWhatIsKnownOfTheAdapter) {
  const PortAdapter ftdi{"FT232R USB UART", "FTDI", 0x0403, 0x6001};
  const std::pair<PortFacts, std::string> cases[] = {
      {{"/dev/ttyUSB0", {}, true, ftdi}, "/dev/ttyUSB0\nFT232R USB UART, FTDI, USB 0403:6001"},
      {{"/k/COM2", "/dev/ttyUSB7", false, ftdi}, "/k/COM2 → /dev/ttyUSB7（見つかりません）"},
      {{"/dev/ttyS0", {}, true, PortAdapter{}}, "/dev/ttyS0"},
      {{"/dev/ttyACM0", {}, true, PortAdapter{"Arduino", "Arduino", 0x2341, {}}},
       "/dev/ttyACM0\nArduino"}};  // a maker named as the description once; ids only both
  for (const auto& [facts, text] : cases) EXPECT_EQ(PortTooltip(facts), text);
}

TEST(PortTooltip, TakesTheUsbIdsFromAWindowsHardwareId) {
  const std::pair<std::string_view, std::optional<std::pair<int, int>>> cases[] = {
      {"USB\\VID_0403&PID_6001&REV_0600", std::pair{0x0403, 0x6001}},
      {"FTDIBUS\\VID_0403+PID_6015+DK0AB1CDA\\0000", std::pair{0x0403, 0x6015}},
      {"USB\\VID_04G3&PID_6001", std::nullopt},   // not hexadecimal
      {"USB\\VID_0403&REV_0600", std::nullopt}};  // a vendor alone says too little
  for (const auto& [id, ids] : cases) {
    PortAdapter adapter;
    ReadUsbIds(id, adapter);
    EXPECT_EQ(adapter.vendorId.has_value(), ids.has_value()) << id;
    if (ids) {
      EXPECT_EQ(std::pair(int(*adapter.vendorId), int(*adapter.productId)), *ids) << id;
    }
  }
}

// Runs visited one right after the other: the port's row first; read button, field, SET; rows.
TEST(TabOrder, ThePortFirstThenEachColumnRowByRowAndEachRowFromTheLeft) {
  const std::vector<std::string_view> order = TabOrder();
  EXPECT_EQ(order.front(), "Combo1");
  const std::vector<std::string_view> runs[] = {
      {"Combo1", "Command11", "Command12", "Command1"},
      {"Command5(0)", "Text1(0)", "Command6(0)", "Command5(1)"},
      {"Text9", "Text11", "Text10", "Command19", "Combo2", "Command28"},
      {"Command6(10)", "Command34"},  // column by column
      {"Command33", "Command10"},
      {"Command6(16)", "Command35", "Text1(23)"}};
  for (const auto& run : runs)
    EXPECT_FALSE(std::ranges::search(order, run).empty()) << run.front() << " .. " << run.back();
}

TEST(TrafficLog, IsOnByTheLastRuleForItsCategory) {
  const std::pair<std::string_view, bool> cases[] = {
      {"korvane.serial.debug=true", true},
      {"qt.qpa.*=false; korvane.serial.debug = true", true},
      {"korvane.serial.debugger=true", false},
      {"", false}};
  for (const auto& [rules, wanted] : cases) EXPECT_EQ(TrafficLogWanted(rules), wanted) << rules;
}

TEST(TrafficLog, OneEventALineWithMillisecondsAndEveryOtherByteEscaped) {
  using std::chrono::nanoseconds;
  EXPECT_EQ(TrafficLogLine(nanoseconds{12'345'678'901}, "sent", ":GXE1#"), "12345.678 sent :GXE1#");
  EXPECT_EQ(TrafficLogLine(nanoseconds{7'005'000}, "closed"), "7.005 closed");
  EXPECT_EQ(TrafficLogLine(nanoseconds{999'999}, "received", std::string(" ~\x7f\0\xff\\\r", 7)),
            "0.999 received  ~\\x7f\\x00\\xff\\x5c\\x0d");
}

// The WiFi passwords never reach the log, written or read, also when answers come late, in
// pieces, or not at all. Each event: sent or received, when, the bytes, what the log shows.
TEST(TrafficLog, MasksThePasswordsSentAndReceived) {
  using Event = std::tuple<bool, double, std::string, std::string>;
  const std::vector<std::vector<Event>> cases{{{true, 0, ":Sqnew-pw#", ":Sq********#"},
                                               {true, 9, ":Snab#", ":Sn********#"},
                                               {true, 20, ":St+35*40#", ":St+35*40#"}},
                                              {{true, 0, ":GXEM#", ":GXEM#"},
                                               {true, 400, ":GXEN#", ":GXEN#"},  // each answer late
                                               {false, 600, "KORVANE-AP#", "KORVANE-AP#"},
                                               {false, 1000, "12345678#", "********#"}},
                                              {{true, 0, ":GXES#", ":GXES#"},
                                               {true, 1, ":GXET#", ":GXET#"},
                                               {false, 50, "HomeNet#starg", "HomeNet#********"},
                                               {false, 60, "azer#", "********#"}},
                                              {{true, 0, ":GXET#", ":GXET#"},
                                               {true, 10000, ":GXE1#", ":GXE1#"},  // never answered
                                               {false, 10050, "400#", "400#"}},
                                              {{true, 5000, ":GXET#", ":GXET#"},  // given up
                                               {false, 8000, "late-pw#", "********#"},
                                               {false, 20000, "400#", "400#"}}};
  for (const auto& events : cases) {
    TrafficMask mask;
    for (const auto& [sent, ms, bytes, shown] : events)
      EXPECT_EQ(sent ? mask.sent(bytes, ms) : mask.received(bytes, ms), shown) << bytes;
  }
}

// A shell's Wait: each turn of its loop sleeps what is left, rounded up; a wait of 0 or less still
// runs once; a message that wakes a turn early leaves the rest to sleep; the end of the program
// ends the wait. Each case: the wait, the time each turn took, the turns after which the program
// ends, and the sleeps asked for.
TEST(WaitInTurns, SleepsWhatIsLeftUntilTheTimeIsUpAndEventsHaveRun) {
  struct Case {
    double ms;
    std::vector<double> took;
    std::size_t endAfter;
    std::vector<unsigned> sleeps;
  } cases[] = {{0, {0}, 9, {0}},         {-5, {1}, 9, {0}},
               {400, {400}, 9, {400}},   {400, {150, 150, 150}, 9, {400, 250, 100}},
               {2.3, {3}, 9, {3}},       {10, {9.5, 0.4, 0.2}, 9, {10, 1, 1}},
               {400, {10, 10}, 1, {400}}};
  for (const Case& c : cases) {
    double now = 0;
    std::vector<unsigned> sleeps;
    const auto turn = [&](unsigned sleepMs) {
      now += c.took.at(sleeps.size());
      sleeps.push_back(sleepMs);
      return sleeps.size() < c.endAfter;
    };
    WaitInTurns(c.ms, turn, [&] { return now; });
    EXPECT_EQ(sleeps, c.sleeps) << c.ms;
  }
}

// The preset list on a system that reports each step through the open list: what each sequence of
// its notifications does, as the keys and clicks of an owner give them (both orders of the
// selection change around the close included).
TEST(PresetListWatch, OnlyAnItemTakenLoadsAPresetAndAListLeftPutsTheBoxBack) {
  using E = PresetListWatch::Event;
  const std::pair<const char*, std::vector<E>> cases[] = {
      {"T", {E::SelectionChanged}},  // Down with the list closed: a pick
      {"---CP", {E::Dropped, E::SelectionChanged, E::SelectionChanged, E::ClosedUp, E::Closed}},
      {"----CT",
       {E::Dropped, E::SelectionChanged, E::SelectionChanged, E::SelectedOk, E::ClosedUp,
        E::Closed}},
      {"--C-T", {E::Dropped, E::SelectedOk, E::ClosedUp, E::SelectionChanged, E::Closed}},
      {"-C-PT", {E::Dropped, E::ClosedUp, E::SelectionChanged, E::Closed, E::SelectionChanged}},
      {"-", {E::ClosedUp}},  // a close without an open: nothing to decide
  };
  for (const auto& [want, events] : cases) {
    PresetListWatch watch;
    std::string got;
    for (const E e : events) {
      const auto a = watch.on(e, "EQ5");
      got += "-CTP"[int(a)];
    }
    EXPECT_EQ(got, want);
    EXPECT_EQ(watch.before(), std::string(events.front() == E::Dropped ? "EQ5" : ""));
  }
}

// The one log every shell's port writes through: its events named once, nothing while it is off,
// and the passwords masked, also the answer to a query sent while it was off.
TEST(TrafficLog, EachEventOfThePortOneLineWhileOn) {
  bool on = false;
  std::vector<std::string> lines;
  TrafficLog log([&] { return on; },
                 [&](const std::string& line) {
                   lines.push_back(line.substr(line.find(' ') + 1));  // without the time
                 });
  log.sent(":GXET#");  // off
  on = true;
  log.received("HomePw#");
  log.opened("\\\\.\\COM5");
  log.openFailed("/dev/ttyUSB0", "held by another process");
  log.sent(":Sqnew-pw#");
  log.lineFailed("error 21");
  log.closed("COM5");
  EXPECT_EQ(lines,
            (std::vector<std::string>{"received ********#", "opened \\x5c\\x5c.\\x5cCOM5",
                                      "open failed /dev/ttyUSB0: held by another process",
                                      "sent :Sq********#", "line failed error 21", "closed COM5"}));
}

}  // namespace
}  // namespace korvane
