#include <gtest/gtest.h>

#include "FakeScreen.h"
#include "editor/StartupPage.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

using test::Bytes;
using test::FakeScreen;

class StartupPageTest : public ::testing::Test {
  protected:
    StartupPageTest() { t = StartupTemplate(); }
    void Reopen() {
        page.Commit();
        screen.Init();
    }
    ApplicationTemplate t{};
    StartupPage page{t};
    FakeScreen screen{page};
};

TEST_F(StartupPageTest, OpensWithCommaAsTheOnlySeparator) {
    screen.Init();
    EXPECT_EQ(screen.shown(701), " 1 ");
    EXPECT_EQ(screen.text(601), "44");
    EXPECT_EQ(screen.text(603), ",");
    EXPECT_EQ(screen.text(602), "0");
    EXPECT_EQ(screen.text(604), "");
    EXPECT_TRUE(screen.enabled(601));
    EXPECT_TRUE(screen.enabled(603));
    EXPECT_FALSE(screen.enabled(602));
    EXPECT_FALSE(screen.enabled(604));
    EXPECT_EQ(screen.shown(700), "表單 1");
    EXPECT_EQ(screen.shown(702), "RS-232 / Cradle");
    EXPECT_EQ(screen.shown(704), "115200 bps");
}

TEST_F(StartupPageTest, ValueAndSymbolBoxesEchoEachOtherOnce) {
    screen.Init();
    screen.Type(601, "59");
    EXPECT_EQ(screen.text(603), ";");
    EXPECT_EQ(screen.text(601), "59");
    screen.Type(603, "|");
    EXPECT_EQ(screen.text(601), "124");
    EXPECT_EQ(screen.text(603), "|");
    // The guard is cleared again: the next typing in either box echoes as before.
    screen.Type(601, "9");
    EXPECT_EQ(screen.text(603), "\t");
    page.Commit();
    EXPECT_EQ(t.fieldSeparators.separator1, 9);
}

TEST_F(StartupPageTest, ValueBoxIgnoresLargeNumbersAndReplacesLetters) {
    screen.Init();
    screen.Type(601, "300");
    EXPECT_EQ(screen.text(603), ",");
    page.Commit();
    EXPECT_EQ(t.fieldSeparators.separator1, 44);

    screen.Init();
    screen.Type(601, "ab");
    EXPECT_EQ(screen.text(601), "0");
    EXPECT_EQ(screen.text(603), "");
    screen.Type(601, "");  // an empty box changes nothing
    page.Commit();
    EXPECT_EQ(t.fieldSeparators.separator1, 0);
}

TEST_F(StartupPageTest, SymbolBoxKeepsOneByteOnly) {
    screen.Init();
    screen.Type(603, "ab");
    EXPECT_EQ(screen.text(603), "a");
    EXPECT_EQ(screen.text(601), "97");
    // A double-byte character cannot be a separator: the cut leaves nothing.
    screen.Type(603, "中");
    EXPECT_EQ(screen.text(603), "");
    EXPECT_EQ(screen.text(601), "0");
}

TEST_F(StartupPageTest, SeparatorAboveAsciiSurvivesItsEmptySymbolBox) {
    screen.Init();
    screen.Type(601, "200");
    EXPECT_EQ(screen.text(603), "");
    page.Commit();
    EXPECT_EQ(t.fieldSeparators.separator1, 200);
}

TEST_F(StartupPageTest, SeparatorCountDecidesWhatIsCommitted) {
    t.fieldSeparators = {9, 13};
    struct Case {
        int count;
        int separator1, separator2;
    } cases[] = {{2, 9, 13}, {1, 9, 0}, {0, 0, 0}};
    for (const Case& c : cases) {
        t.fieldSeparators = {9, 13};
        screen.Init();
        EXPECT_EQ(screen.selection(701), 2);
        screen.Choose(701, c.count);
        EXPECT_EQ(screen.enabled(601), c.count >= 1);
        EXPECT_EQ(screen.enabled(604), c.count == 2);
        page.Commit();
        EXPECT_EQ(t.fieldSeparators.separator1, c.separator1) << c.count;
        EXPECT_EQ(t.fieldSeparators.separator2, c.separator2) << c.count;
    }
}

TEST_F(StartupPageTest, CountOneWithoutAFirstSeparatorReopensAsNone) {
    t.fieldSeparators = {0, 0};
    screen.Init();
    EXPECT_FALSE(screen.enabled(601));
    screen.Choose(701, 1);
    EXPECT_TRUE(screen.enabled(601));
    Reopen();
    EXPECT_EQ(t.fieldSeparators.separator1, 0);
    EXPECT_EQ(screen.shown(701), "無");
}

TEST_F(StartupPageTest, PasswordIsCutToTenBytesAndStoredWithoutTerminator) {
    screen.Init();
    screen.Type(605, "12345678901");
    EXPECT_EQ(screen.text(605), "1234567890");
    page.Commit();
    EXPECT_EQ(Bytes(t.securityPassword),
              (std::vector<int>{0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30}));

    // 1 + four double-byte characters is 9 bytes; a fifth would need bytes 10 and 11.
    screen.Init();
    EXPECT_EQ(screen.text(605), "1234567890");
    screen.Type(605, "1中文中文中");
    EXPECT_EQ(screen.text(605), "1中文中文");
    page.Commit();
    EXPECT_EQ(Bytes(t.securityPassword),
              (std::vector<int>{0x31, 0xA4, 0xA4, 0xA4, 0xE5, 0xA4, 0xA4, 0xA4, 0xE5, 0x00}));
}

TEST_F(StartupPageTest, CharactersOutsideCp950AreRemovedAtOnce) {
    screen.Init();
    screen.Type(605,
                "a\xF0\x9F\x98\x80"
                "b");
    EXPECT_EQ(screen.text(605), "ab");
    page.Commit();
    EXPECT_EQ(t.securityPassword[0], 'a');
    EXPECT_EQ(t.securityPassword[1], 'b');
    EXPECT_EQ(t.securityPassword[2], 0);
}

TEST_F(StartupPageTest, SettingsListsAndGuardsReachTheirBytes) {
    t.startupSettings.setting7 = 9;
    screen.Init();
    screen.Choose(700, 1);
    screen.Choose(702, 3);
    screen.Choose(703, 2);
    screen.Choose(704, 4);
    screen.Choose(705, 1);
    screen.Choose(706, 1);
    screen.Choose(707, 1);
    screen.Click(101);
    screen.Click(112);
    screen.Click(105);
    screen.Click(105);
    EXPECT_TRUE(screen.checked(101));
    EXPECT_FALSE(screen.checked(105));
    page.Commit();
    EXPECT_EQ(t.startPosition, 1);
    const u8* s = reinterpret_cast<const u8*>(&t.startupSettings);
    EXPECT_EQ(std::vector<int>(s, s + 20),
              (std::vector<int>{3, 2, 4, 1, 50, 1, 1, 9, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
}

TEST_F(StartupPageTest, DiscardedPageCommitsNothing) {
    screen.Init();
    screen.Choose(700, 1);
    screen.Type(605, "99");
    page.Discard();
    page.Commit();
    EXPECT_EQ(t.startPosition, 0);
    EXPECT_EQ(t.securityPassword[0], 0);
}

}  // namespace
}  // namespace k52
