#include "files/set_data.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

const SetDataFields kAp{
    "200", "8", "2.26666666666666", "144", "200", "8", "2.26666666666666", "144", "400", "0", "1"};
constexpr std::string_view kApFile =
    R"("200","8","2.26666666666666","144","200","8","2.26666666666666","144","400","0","1",)";

TEST(SetDataTest, FormatsOneLineOfQuotedFields) {
  EXPECT_EQ(Format_SetData(kAp), kApFile);
  EXPECT_EQ(Format_SetData(SetDataFields{}), R"("","","","","","","","","","","",)");
}

TEST(SetDataTest, SavedFieldsComeBackExactly) {
  for (const SetDataFields& fields :
       {kAp, SetDataFields{},
        SetDataFields{"1,5", " 8 ", "a\nb", "\xE6\x98\x9F", "", "x", "y", "z", "400", "0", "0"}}) {
    EXPECT_EQ(Parse_SetData(Format_SetData(fields)), fields);
  }
}

struct ParseCase {
  std::string name;
  std::string text;
  std::optional<SetDataFields> expected;
};

class ParseSetDataTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseSetDataTest, ReadsElevenFields) {
  EXPECT_EQ(Parse_SetData(GetParam().text), GetParam().expected);
}

const SetDataFields kDigits{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};

INSTANTIATE_TEST_SUITE_P(
    Table, ParseSetDataTest,
    testing::Values(
        ParseCase{"Empty", "", std::nullopt},
        ParseCase{"TenFields", R"("1","2","3","4","5","6","7","8","9","10",)", std::nullopt},
        ParseCase{"TenFieldsAndALineEnd",
                  "\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\",\"10\",\r\n",
                  std::nullopt},
        ParseCase{"NoFinalComma", R"("1","2","3","4","5","6","7","8","9","10","11")", kDigits},
        ParseCase{"ByteOrderMark", "\xEF\xBB\xBF\"1\",2,3,4,5,6,7,8,9,10,11", kDigits},
        ParseCase{"OnlyOneByteOrderMark",
                  "\xEF\xBB\xBF\xEF\xBB\xBF"
                  "1,2,3,4,5,6,7,8,9,10,11",
                  SetDataFields{"\xEF\xBB\xBF"
                                "1",
                                "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
        ParseCase{"Unquoted", " 1 ,2,3,4,5,6,7,8,9,10,\t11\t", kDigits},
        ParseCase{"OneFieldALine", "1\n2\r\n3\r4\n5\n6\n7\n8\n9\n10\n11", kDigits},
        ParseCase{"CommaThenLineEnd", "\"1\",\r\n\"2\", \n3,4,5,6,7,8,9,10,11,\r\n", kDigits},
        ParseCase{"ExtraTextIgnored", R"("1","2","3","4","5","6","7","8","9","10","11","12",junk)",
                  kDigits},
        ParseCase{"AfterClosingQuoteSkipped",
                  R"( "1"x,"2"  ,"3","4","5","6","7","8","9","10","11")", kDigits},
        ParseCase{"QuoteCutsTheField", R"("1"2","2","3","4","5","6","7","8","9","10","11",)",
                  SetDataFields{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
        ParseCase{"EmptyUnquotedFields", ",,,,,,,,,,,", SetDataFields{}},
        ParseCase{"TenCommasOnly", ",,,,,,,,,,", std::nullopt},
        ParseCase{"BlankLineIsAnEmptyField", "1\n\n3,4,5,6,7,8,9,10,11",
                  SetDataFields{"1", "", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
        // A missing closing quote takes the rest of the text.
        ParseCase{"UnclosedLastField", R"("1","2","3","4","5","6","7","8","9","10","11,)",
                  SetDataFields{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11,"}},
        ParseCase{"UnclosedEarlyField", R"("1","2,3,4,5,6,7,8,9,10,11)", std::nullopt},
        ParseCase{"NulBytes", std::string("\"\0\",2,3,4,5,6,7,8,9,10,11", 25),
                  SetDataFields{std::string(1, '\0'), "2", "3", "4", "5", "6", "7", "8", "9", "10",
                                "11"}}),
    [](const auto& info) { return info.param.name; });

TEST(SetDataTest, SurvivesLargeAndBinaryInput) {
  EXPECT_EQ(Parse_SetData(std::string(10 << 20, ',')), SetDataFields{});
  // Pairs of quotes are one empty field each, with nothing to separate them.
  EXPECT_EQ(Parse_SetData(std::string(10 << 20, '"')), std::nullopt);
  EXPECT_EQ(Parse_SetData(std::string(10 << 20, '\n')), SetDataFields{});
  std::string binary;
  for (int i = 0; i < (1 << 16); ++i) binary.push_back(static_cast<char>((i * 131) & 0xFF));
  for (std::size_t length = 0; length < binary.size(); length += 997) {
    (void)Parse_SetData(std::string_view(binary).substr(0, length));  // returns, whatever it holds
  }
  const auto huge = Parse_SetData("\"" + std::string(10 << 20, 'x') + "\",2,3,4,5,6,7,8,9,10,11");
  ASSERT_TRUE(huge.has_value());
  EXPECT_EQ((*huge)[0].size(), std::size_t{10 << 20});
}

}  // namespace
}  // namespace korvane
