#include <gtest/gtest.h>

#include <cstring>

#include "FakeScreen.h"
#include "editor/MenuPage.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

using test::FakeScreen;

class MenuPageTest : public ::testing::Test {
  protected:
    MenuPageTest() {
        t = StartupTemplate();
        screen.Init();
    }
    ApplicationTemplate t{};
    MenuPage page{t};
    FakeScreen screen{page};
};

TEST_F(MenuPageTest, UneditedMenuShowsMainMenuTargetsAndNothingElse) {
    EXPECT_EQ(screen.shown(700), "選單  1");
    EXPECT_EQ(screen[700].items.size(), 10u);
    EXPECT_EQ(screen[751].items.size(), 21u);
    EXPECT_EQ(screen[751].items[20], "選單  10");
    EXPECT_EQ(screen.shown(751), "主選單");
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(screen.shown(701 + i), "主選單");
        EXPECT_EQ(screen.text(601 + i), "");
    }
    for (int id : {101, 102, 103, 104}) EXPECT_FALSE(screen.checked(id));
    EXPECT_FALSE(screen.enabled(691));
}

TEST_F(MenuPageTest, OptionTextsAreCutToFifteenBytes) {
    screen.Type(601, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(screen.text(601), "ABCDEFGHIJKLMNO");
    screen.Type(602, "12345678901234567890");
    EXPECT_EQ(screen.text(602), "123456789012345");
    // Eight double-byte characters are 16 bytes; the cut keeps seven whole ones.
    screen.Type(603, "中文中文中文中文");
    EXPECT_EQ(screen.text(603), "中文中文中文中");
    screen.Type(604, "a中文中文中文中文");
    EXPECT_EQ(screen.text(604), "a中文中文中文中");
    page.Commit();
    EXPECT_EQ(FieldText(t.menu(1).options[0]), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(FieldText(t.menu(1).options[1]), "123456789012345");
    EXPECT_EQ(FieldText(t.menu(1).options[2]).size(), 14u);
    EXPECT_EQ(FieldText(t.menu(1).options[3]).size(), 15u);
    EXPECT_EQ(t.menu(1).options[3][15], 0);
}

TEST_F(MenuPageTest, SwitchingMenusKeepsTheWorkingCopy) {
    screen.Type(601, "Receive");
    screen.Choose(702, 13);
    screen.Choose(700, 1);
    EXPECT_EQ(screen.text(601), "");
    EXPECT_EQ(screen.shown(702), "主選單");
    screen.Type(601, "Other");
    screen.Choose(700, 0);
    EXPECT_EQ(screen.text(601), "Receive");
    EXPECT_EQ(screen.shown(702), "選單  3");
    // Nothing reaches the template before the commit.
    EXPECT_EQ(t.menu(1).options[0][0], 0);
    EXPECT_EQ(t.menu(1).optionTargets[1], 0);
    page.Commit();
    EXPECT_EQ(FieldText(t.menu(1).options[0]), "Receive");
    EXPECT_EQ(FieldText(t.menu(2).options[0]), "Other");
}

TEST_F(MenuPageTest, TargetListPositionsAreTargetCodes) {
    screen.Choose(702, 13);  // option 2 leads to menu 3
    screen.Choose(701, 1);   // option 1 leads to form 1
    screen.Choose(751, 20);
    page.Commit();
    EXPECT_EQ(t.menu(1).optionTargets[1], 13);
    EXPECT_EQ(t.menu(1).optionTargets[0], 1);
    EXPECT_EQ(t.menu(1).escapeTarget, 20);
}

TEST_F(MenuPageTest, HiddenTitleIsKeptAndCommitted) {
    screen.Click(101);
    EXPECT_TRUE(screen.checked(101));
    EXPECT_TRUE(screen.enabled(691));
    screen.Type(691, "Stock taking menu");
    EXPECT_EQ(screen.text(691), "Stock taking me");
    screen.Click(101);
    EXPECT_FALSE(screen.enabled(691));
    EXPECT_EQ(screen.text(691), "Stock taking me");
    screen.Click(103);
    page.Commit();
    EXPECT_EQ(t.menu(1).showTitle, 0);
    EXPECT_EQ(FieldText(t.menu(1).title), "Stock taking me");
    EXPECT_EQ(t.menu(1).storeSelection, 1);
    EXPECT_EQ(t.menu(1).storeTitle, 0);
}

TEST_F(MenuPageTest, ValuesFromAFileOutsideTheirListsAreShownAsNoneAndKept) {
    t.menu(1).optionTargets[0] = 25;
    t.menu(1).showTitle = 7;
    std::memcpy(t.menu(1).title, "ABCDEFGHIJKLMNOPQRST", 20);  // longer than the box allows
    t.menu(1).currentOption = 4;
    screen.Init();
    EXPECT_EQ(screen.selection(701), -1);
    EXPECT_TRUE(screen.checked(101));
    page.Commit();
    EXPECT_EQ(t.menu(1).optionTargets[0], 25);
    EXPECT_EQ(FieldText(t.menu(1).title), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(t.menu(1).currentOption, 4);
}

}  // namespace
}  // namespace k52
