#include <gtest/gtest.h>

#include <cstring>

#include "FakeScreen.h"
#include "editor/BarcodePage.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

using test::FakeScreen;

const std::vector<int> kDefaults = {0x9B, 0xC9, 0x00, 0x00, 0x00, 0x2D, 0x54, 0x80, 0x00, 0x19, 0x3D, 0x00,
                                    0xFF, 0x01, 0xFF, 0x01, 0xFF, 0x01, 0xFF, 0x01, 0x66, 0x03, 0x03, 0x00};

std::vector<int> Block(const BarcodeSettings& b) {
    return std::vector<int>(b.bytes(), b.bytes() + 24);
}

class BarcodePageTest : public ::testing::Test {
  protected:
    BarcodePageTest() { ApplyBarcodeDefaults(t); }
    ApplicationTemplate t{};
    BarcodePage page{t.barcodeSettings};
    FakeScreen screen{page};
};

TEST_F(BarcodePageTest, UntouchedPageLeavesEveryByte) {
    const std::vector<std::vector<int>> blocks = {
        kDefaults,
        {0x64, 0x36, 0xFF, 0xAA, 0x55, 0xD2, 0xAB, 0x7F, 0x12, 0xE6, 0xC2, 0xFF,
         0x05, 0x03, 0x7F, 0x7F, 0x80, 0x00, 0x33, 0x44, 0x8F, 0xFF, 0xEE, 0x99},
    };
    for (const auto& bytes : blocks) {
        for (std::size_t i = 0; i < 24; ++i) t.barcodeSettings.bytes()[i] = static_cast<u8>(bytes[i]);
        screen.Init();
        page.Commit();
        EXPECT_EQ(Block(t.barcodeSettings), bytes);
    }
}

TEST_F(BarcodePageTest, OpensShowingTheBlock) {
    screen.Init();
    EXPECT_EQ(screen.shown(701), "Laser");
    EXPECT_EQ(screen[701].items.size(), 9u);
    EXPECT_EQ(screen.shown(702), "不重複");
    EXPECT_EQ(screen.text(601), "3");
    EXPECT_TRUE(screen.checked(101));
    EXPECT_FALSE(screen.checked(102));
    EXPECT_TRUE(screen.checked(119));
    EXPECT_FALSE(screen.checked(122));
}

TEST_F(BarcodePageTest, EveryCheckBoxWritesOnlyItsOwnBit) {
    screen.Init();
    for (int id = 101; id <= 122; ++id)
        if (id != 112) screen.Click(id);
    page.Commit();
    std::vector<int> expected = kDefaults;
    expected[0] = 0x64;
    expected[1] = 0x36;
    expected[2] = 0xF0;
    expected[11] = 0x10;
    EXPECT_EQ(Block(t.barcodeSettings), expected);
}

TEST_F(BarcodePageTest, ScanSettingsKeepTheirNeighbouringBits) {
    t.barcodeSettings.optionFlags11 = 0x83;
    screen.Init();
    screen.Choose(701, 1);
    screen.Choose(702, 3);
    page.Commit();
    EXPECT_EQ(t.barcodeSettings.scanModeSetting, 0x16);
    EXPECT_EQ(t.barcodeSettings.optionFlags11, 0x8F);
}

TEST_F(BarcodePageTest, UnmarkingCode39KeepsItsOptionsAndButton) {
    screen.Init();
    screen.Click(101);
    screen.Click(201);
    EXPECT_EQ(screen.opened, std::vector<int>{201});
    page.Commit();
    std::vector<int> expected = kDefaults;
    expected[0] = 0x1B;
    EXPECT_EQ(Block(t.barcodeSettings), expected);
}

TEST_F(BarcodePageTest, TimeoutEdit) {
    struct Case {
        const char* typed;
        const char* shown;
        int stored;
    } cases[] = {{"abc", "0", 0}, {"", "", 0}, {"7", "7", 7}, {"300", "300", 44}, {"255", "255", 255}};
    for (const Case& c : cases) {
        screen.Init();
        screen.Type(601, c.typed);
        EXPECT_EQ(screen.text(601), c.shown) << c.typed;
        page.Commit();
        EXPECT_EQ(t.barcodeSettings.scanTimeout, c.stored) << c.typed;
    }
}

TEST_F(BarcodePageTest, UnknownScanModeShowsNoSelectionAndCommitsFifteen) {
    t.barcodeSettings.scanModeSetting = 0xC6;
    screen.Init();
    EXPECT_EQ(screen.selection(701), -1);
    page.Commit();
    EXPECT_EQ(t.barcodeSettings.scanModeSetting, 0xF6);
}

TEST_F(BarcodePageTest, DiscardedOrNeverShownPageWritesNothing) {
    page.Commit();
    screen.Init();
    screen.Click(101);
    screen.Type(601, "9");
    page.Discard();
    page.Commit();
    EXPECT_EQ(Block(t.barcodeSettings), kDefaults);
}

TEST_F(BarcodePageTest, OptionButtonsOpenTheirDialogs) {
    screen.Init();
    const std::pair<int, const char*> buttons[] = {
        {201, "Code39Dlg"},       {202, "ItalyPharmaDlg"}, {203, "FrenchPharmaDlg"}, {204, "Industrial25Dlg"},
        {205, "Interleave25Dlg"}, {206, "Matrix25Dlg"},    {207, "CodabarDlg"},      {208, "MSIDlg"},
        {209, "PlesseyDlg"},      {213, "UPCEDlg"},        {216, "EAN8Dlg"},         {219, "EAN13Dlg"}};
    for (auto [id, name] : buttons) {
        screen.Click(id);
        EXPECT_EQ(screen.opened.back(), id);
        auto dialog = page.OptionsDialog(id);
        ASSERT_TRUE(dialog) << id;
        EXPECT_EQ(dialog->info().name, name);
    }
    EXPECT_EQ(screen.opened.size(), 12u);
    EXPECT_FALSE(page.OptionsDialog(210));
    EXPECT_FALSE(page.OptionsDialog(211));
}

}  // namespace
}  // namespace k52
