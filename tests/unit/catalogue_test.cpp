#include "protocol/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace korvane {
namespace {

TEST(CatalogueTest, ReadAllAsksEveryKindOnceButTwenty) {
  for (int kind = 1; kind <= 31; ++kind) {
    const auto count = std::count(kReadAllOrder.begin(), kReadAllOrder.end(), kind);
    EXPECT_EQ(count, kind == 20 ? 0 : 1) << "kind " << kind;
  }
  for (const Setting* setting : readAllSequence()) {
    ASSERT_NE(setting, nullptr);
    EXPECT_FALSE(setting->query.empty()) << "kind " << setting->replyKind;
    EXPECT_EQ(setting->query.front(), ':');
    EXPECT_EQ(setting->query.back(), '#');
  }
  EXPECT_EQ(readAllSequence()[14]->query, ":G1#");
  EXPECT_EQ(readAllSequence()[20]->query, ":GX80#");
}

TEST(CatalogueTest, EveryKindAndFieldHasOneRow) {
  std::set<int> kinds, fields;
  for (const Setting& s : kSettings) {
    EXPECT_TRUE(kinds.insert(s.replyKind).second) << "kind " << s.replyKind;
    if (s.field != kNoField) {
      EXPECT_TRUE(fields.insert(s.field).second) << "field " << s.field;
    }
    EXPECT_EQ(settingByKind(s.replyKind), &s);
  }
}

TEST(CatalogueTest, ReadButtonsSendTheQueryOfTheirKind) {
  for (int button = 0; button <= 15; ++button) {
    const Setting* s = settingByReadButton(button);
    ASSERT_NE(s, nullptr) << "Command5(" << button << ")";
    const int kind = button < 14 ? button + 1 : button + 7;
    EXPECT_EQ(s, settingByKind(kind)) << "Command5(" << button << ")";
  }
  EXPECT_EQ(settingByReadButton(16), nullptr);
  EXPECT_EQ(settingByReadButton(-1), nullptr);
}

struct SetLink {
  int button;
  int field;
  std::string_view prefix;
};

class SetButtonTest : public testing::TestWithParam<SetLink> {};

// The SET buttons do not follow the field indices.
TEST_P(SetButtonTest, WritesItsOwnField) {
  const SetRow* row = setRowByIndex(GetParam().button);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->field, GetParam().field);
  EXPECT_EQ(row->prefix, GetParam().prefix);
  EXPECT_NE(settingByField(GetParam().field), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Table, SetButtonTest,
                         testing::Values(SetLink{0, 0, ":$PA"}, SetLink{5, 13, ":Sh"},
                                         SetLink{6, 12, ":So"}, SetLink{11, 5, ":Sg"},
                                         SetLink{13, 7, ":SG"}, SetLink{16, kCombo3Index, ":$PH"},
                                         SetLink{19, 22, ":Sp"}, SetLink{20, 25, ":Sq"},
                                         // Meridian: west is Text1(10), east Text1(11).
                                         SetLink{8, 10, ":SXEA,"}, SetLink{7, 11, ":SXE9,"}));

TEST(CatalogueTest, MeridianSidesAreReadTheWayTheyAreWritten) {
  EXPECT_EQ(settingByField(10)->query, ":GXEA#");
  EXPECT_EQ(settingByField(10)->replyKind, 11);
  EXPECT_EQ(settingByField(11)->query, ":GXE9#");
  EXPECT_EQ(settingByField(11)->replyKind, 12);
}

TEST(CatalogueTest, EverySetRowBelongsToOneSetting) {
  for (const SetRow& row : kSetRows) {
    EXPECT_EQ(setRowByIndex(row.index), &row);
    const Setting* s = settingByField(row.field);
    ASSERT_NE(s, nullptr) << "Command6(" << row.index << ")";
    EXPECT_EQ(row.ranged, row.index <= 4);
  }
  EXPECT_EQ(setRowByIndex(21), nullptr);
  EXPECT_EQ(setRowByIndex(-1), nullptr);
}

}  // namespace
}  // namespace korvane
