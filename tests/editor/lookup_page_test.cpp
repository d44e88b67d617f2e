#include <gtest/gtest.h>

#include "FakeScreen.h"
#include "editor/LookupPage.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

using test::Bytes;
using test::FakeScreen;

class LookupPageTest : public ::testing::Test {
  protected:
    LookupPageTest() {
        t = StartupTemplate();
        screen.Init();
    }
    ApplicationTemplate t{};
    LookupPage page{t};
    FakeScreen screen{page};
};

TEST_F(LookupPageTest, NewTemplateShowsEmptyFilesWithAllRowsDisabled) {
    for (int file = 0; file < 3; ++file) {
        screen.Choose(700, file);
        EXPECT_EQ(screen.text(609), "0");
        EXPECT_EQ(screen.shown(701), " 0");
        EXPECT_EQ(screen[701].items.back(), " 8");
        for (int n = 1; n <= 8; ++n) {
            EXPECT_EQ(screen.text(600 + n), "1");
            EXPECT_EQ(screen.text(610 + n), "0");
            EXPECT_EQ(screen.checked(400 + n), n == 1);
            for (int base : {600, 610, 400}) EXPECT_FALSE(screen.enabled(base + n));
        }
    }
}

TEST_F(LookupPageTest, FieldCountEnablesRowsAndKeepsTheOthersValues) {
    screen.Choose(701, 3);
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(screen.enabled(600 + n), n <= 3) << n;
    screen.Type(609, "30");
    screen.Type(602, "11");
    screen.Type(612, "5");
    screen.Type(613, "251");  // ignored
    screen.Type(603, "x");
    EXPECT_EQ(screen.text(603), "0");
    screen.Choose(701, 1);
    EXPECT_FALSE(screen.enabled(602));
    EXPECT_EQ(screen.text(602), "11");
    page.Commit();
    EXPECT_EQ(t.lookupFile(1).recordLength, 30);
    EXPECT_EQ(t.lookupFile(1).fieldCount, 1);
    EXPECT_EQ(Bytes(t.lookupFile(1).fieldStart), (std::vector<int>{1, 11, 0, 1, 1, 1, 1, 1}));
    EXPECT_EQ(Bytes(t.lookupFile(1).fieldLength), (std::vector<int>{0, 5, 0, 0, 0, 0, 0, 0}));
}

TEST_F(LookupPageTest, KeyFieldIsNotCheckedAgainstTheFieldCount) {
    screen.Choose(700, 1);
    screen.Choose(701, 4);
    screen.Click(403);
    EXPECT_TRUE(screen.checked(403));
    EXPECT_FALSE(screen.checked(401));
    screen.Choose(701, 2);
    page.Commit();
    EXPECT_EQ(t.lookupFile(2).keyField, 2);
    EXPECT_EQ(t.lookupFile(2).fieldCount, 2);
    EXPECT_EQ(t.lookupFile(1).keyField, 0);
}

TEST_F(LookupPageTest, OutOfRangeValuesFromAFileAreShownSafelyAndKept) {
    t.lookupFile(1).keyField = 9;
    t.lookupFile(1).fieldCount = 12;
    screen.Init();
    for (int n = 1; n <= 8; ++n) {
        EXPECT_FALSE(screen.checked(400 + n));
        EXPECT_TRUE(screen.enabled(600 + n));
    }
    EXPECT_EQ(screen.selection(701), -1);
    page.Commit();
    EXPECT_EQ(t.lookupFile(1).keyField, 9);
    EXPECT_EQ(t.lookupFile(1).fieldCount, 12);
}

}  // namespace
}  // namespace k52
