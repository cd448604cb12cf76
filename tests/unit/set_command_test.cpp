#include "settings/set_command.h"

#include <gtest/gtest.h>

#include <string>

#include "protocol/command_set.h"

namespace korvane {
namespace {

using Kind = SetOutcome::Kind;

struct SetCase {
  int index;
  std::string text;
  Kind kind;
  std::string command;  // for Kind::Command
};

std::ostream& operator<<(std::ostream& os, const SetCase& c) {
  return os << "Command6(" << c.index << ") with \"" << c.text << '"';
}

class BuildSetCmdTest : public testing::TestWithParam<SetCase> {};

TEST_P(BuildSetCmdTest, WritesWhatTheFieldSays) {
  const SetCase& c = GetParam();
  const SetRow* row = setRowByIndex(c.index);
  const SetOutcome out = row ? Build_SetCmd(*row, c.text) : SetOutcome{};
  EXPECT_EQ(out.kind, c.kind);
  switch (c.kind) {
    case Kind::Command:
      EXPECT_EQ(out.text, c.command);
      break;
    case Kind::Rejection:
      EXPECT_EQ(out.text, kRejectionNotice);
      break;
    case Kind::Nothing:
      EXPECT_EQ(out.text, "");
      break;
    case Kind::Refused:
      EXPECT_EQ(out.text, "「#」「:」や制御文字を含む値は送信できません。");
      break;
  }
}

SetCase cmd(int index, std::string text, std::string command) {
  return {index, std::move(text), Kind::Command, std::move(command)};
}
SetCase nothing(int index, std::string text) {
  return {index, std::move(text), Kind::Nothing, ""};
}
SetCase rejected(int index, std::string text) {
  return {index, std::move(text), Kind::Rejection, ""};
}
SetCase refused(int index, std::string text) {
  return {index, std::move(text), Kind::Refused, ""};
}

// What the operator sees written for a field text.
INSTANTIATE_TEST_SUITE_P(
    FieldTexts, BuildSetCmdTest,
    testing::Values(cmd(0, "21", ":$PA21#"), cmd(0, "500", ":$PA500#"), rejected(0, "20.9"),
                    rejected(0, "501"), cmd(0, " 300 ", ":$PA300#"),
                    cmd(1, "200000.7", ":$PB200000#"), rejected(1, "499.99"), rejected(3, "499"),
                    cmd(7, "-3.7", ":SXE9,-4#"), cmd(9, "5", ":$BR005#"),
                    cmd(10, "1234", ":$BD234#"), cmd(5, "10*30", ":Sh10#"), cmd(5, "0.5", ":Sh.5#"),
                    cmd(5, "abc", ":Sh0#"), cmd(11, "+139*44", ":Sg-139*44#"),
                    nothing(11, "139*44"), cmd(11, "-5*30", ":Sg+5*30#"), cmd(13, "+9", ":SG-9#"),
                    cmd(13, "+ 9", ":SG-9#"), cmd(12, "  +35*40  ", ":St+35*40#"),
                    cmd(16, " 1", ":$PH1#"), cmd(16, "", ":$PH0#"), cmd(18, "", ":Sn#")));

INSTANTIATE_TEST_SUITE_P(Ranges, BuildSetCmdTest,
                         testing::Values(rejected(0, "20"), cmd(0, "21.99", ":$PA21#"),
                                         cmd(0, "500.5", ":$PA500#"), cmd(1, "500", ":$PB500#"),
                                         rejected(2, "200001"), cmd(2, "5333", ":$PC5333#"),
                                         // Row 3 refuses above its upper bound like its neighbours.
                                         rejected(3, "200001"), cmd(3, "3626", ":$PD3626#"),
                                         cmd(4, "2e5", ":$PE200000#"), rejected(4, "-600"),
                                         rejected(4, "1e999")));

INSTANTIATE_TEST_SUITE_P(EmptyAndNotANumber, BuildSetCmdTest,
                         testing::Values(nothing(0, ""), nothing(3, ""), nothing(4, ""),
                                         nothing(5, ""), nothing(8, ""), nothing(11, ""),
                                         nothing(12, ""), nothing(14, ""), nothing(15, ""),
                                         // Blanks alone are not an empty field.
                                         rejected(0, "  "), cmd(5, "  ", ":Sh0#"),
                                         cmd(12, "  ", ":St#"), rejected(0, "abc"),
                                         rejected(1, "10*30"), nothing(7, "abc"), nothing(8, "1x"),
                                         nothing(9, "x"), nothing(10, "5 5"), cmd(17, "", ":Sm#"),
                                         cmd(19, "   ", ":Sp#"), cmd(20, "", ":Sq#"),
                                         nothing(13, " 9"), nothing(13, "9+"), nothing(11, "  ")));

INSTANTIATE_TEST_SUITE_P(
    Forms, BuildSetCmdTest,
    testing::Values(cmd(6, "85*00", ":So85#"), cmd(14, "-12.5", ":$PF-12.5#"),
                    cmd(15, "1 80", ":$PG180#"), cmd(16, "10", ":$PH10#"), nothing(16, "1e999"),
                    cmd(9, "0", ":$BR000#"), cmd(9, "999", ":$BR999#"), cmd(10, "12.9", ":$BD012#"),
                    cmd(8, " 15 ", ":SXEA,15#"), cmd(11, " -  139*44  ", ":Sg+139*44#"),
                    cmd(13, "-", ":SG+#"), cmd(17, "  my ssid  ", ":Smmy ssid#"),
                    cmd(18, "p@ss w", ":Snp@ss w#"), cmd(19, "\xE6\x98\x9F", ":Sp\xE6\x98\x9F#"),
                    refused(20, "\tpw")));

// A typed value reaches the wire as it stands; one that could end the command is refused.
INSTANTIATE_TEST_SUITE_P(Safety, BuildSetCmdTest,
                         testing::Values(refused(17, "ab#:Te"), refused(18, "a:b"),
                                         refused(19, "#"), refused(20, "x\ny"), refused(20, "x\ry"),
                                         refused(17, std::string("a\0b", 3)), refused(17, "a\x7f"),
                                         refused(17, "a\x1f"), refused(12, "+35#40"),
                                         refused(11, "+1#:Te"), refused(13, "-9:"),
                                         nothing(11, "1#"), cmd(17, "a\x80", ":Sma\x80#")));

INSTANTIATE_TEST_SUITE_P(OutsideTheButtons, BuildSetCmdTest,
                         testing::Values(nothing(-1, "5"), nothing(21, "5"), nothing(100, "5")));

}  // namespace
}  // namespace korvane
