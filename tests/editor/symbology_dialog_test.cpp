#include <gtest/gtest.h>

#include <cstring>

#include "FakeScreen.h"
#include "editor/SymbologyDialog.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

using test::FakeScreen;

class SymbologyDialogTest : public ::testing::Test {
  protected:
    SymbologyDialogTest() { ApplyBarcodeDefaults(t); }
    std::unique_ptr<SymbologyDialog> Open(int button) {
        const SymbologyDialogInfo* info = FindSymbologyDialog(button);
        EXPECT_TRUE(info) << button;
        auto dialog = std::make_unique<SymbologyDialog>(t.barcodeSettings, *info);
        screen = std::make_unique<FakeScreen>(*dialog);
        screen->Init();
        return dialog;
    }
    u8 byte(int i) const { return t.barcodeSettings.bytes()[i]; }

    ApplicationTemplate t{};
    std::unique_ptr<FakeScreen> screen;
};

TEST_F(SymbologyDialogTest, Industrial25OpensOnTheDefaults) {
    auto dialog = Open(204);
    FakeScreen& s = *screen;
    EXPECT_EQ(dialog->info().title, "Industrial 25 碼參數");
    EXPECT_TRUE(s.checked(401));
    EXPECT_FALSE(s.checked(402));
    EXPECT_FALSE(s.checked(101));
    EXPECT_TRUE(s.checked(102));
    EXPECT_FALSE(s.checked(404));
    EXPECT_TRUE(s.checked(405));
    EXPECT_EQ(s.text(501), "最大長度 :");
    EXPECT_EQ(s.text(502), "最小長度 :");
    EXPECT_EQ(s.text(601), "127");
    EXPECT_EQ(s.text(602), "1");
    s.Click(1);
    EXPECT_EQ(s.closed, 1);
    ApplicationTemplate defaults{};
    ApplyBarcodeDefaults(defaults);
    EXPECT_EQ(0, std::memcmp(t.barcodeSettings.bytes(), defaults.barcodeSettings.bytes(), 24));
}

struct LengthDialog {
    int button, fixedId, byte;
};
const LengthDialog kLengthDialogs[] = {{204, 404, 12}, {205, 404, 14}, {206, 404, 16}, {208, 407, 18}};

TEST_F(SymbologyDialogTest, LengthLabelsFollowTheMode) {
    for (const LengthDialog& d : kLengthDialogs) {
        t.barcodeSettings.bytes()[d.byte] = 0x0A;
        auto dialog = Open(d.button);
        EXPECT_TRUE(screen->checked(d.fixedId));
        EXPECT_EQ(screen->text(501), "固定長度 :");
        EXPECT_EQ(screen->text(502), "固定長度 :");
        screen->Click(d.fixedId + 1);
        EXPECT_EQ(screen->text(501), "最大長度 :");
        EXPECT_EQ(screen->text(502), "最小長度 :");
        screen->Click(d.fixedId);
        EXPECT_EQ(screen->text(502), "固定長度 :");
    }
}

TEST_F(SymbologyDialogTest, LengthRules) {
    struct Case {
        const char* first;  // nullptr: left as opened
        const char* second;
        bool fixed;
        const char* firstShown;
        int byte1, byte2;
    } cases[] = {
        {"200", nullptr, false, "200", 0xFF, 0x01},
        {"x", nullptr, false, "127", 0xFF, 0x01},
        {"", "", false, "", 0xFF, 0x01},
        {"0", "0", false, "0", 0x81, 0x01},
        {"10", "50", false, "10", 0x8A, 0x0A},
        {"10", "50", true, "10", 0x0A, 0x0A},
        {"20", "5", false, "20", 0x94, 0x05},
        {"20", "y", true, "20", 0x14, 0x01},
    };
    for (const LengthDialog& d : kLengthDialogs) {
        for (const Case& c : cases) {
            ApplyBarcodeDefaults(t);
            auto dialog = Open(d.button);
            if (c.fixed) screen->Click(d.fixedId);
            if (c.first) screen->Type(601, c.first);
            if (c.second) screen->Type(602, c.second);
            EXPECT_EQ(screen->text(601), c.firstShown);
            screen->Click(1);
            EXPECT_EQ(byte(d.byte), c.byte1) << d.button << " " << (c.first ? c.first : "-");
            EXPECT_EQ(byte(d.byte + 1), c.byte2) << d.button << " " << (c.first ? c.first : "-");
        }
    }
}

TEST_F(SymbologyDialogTest, SecondLengthReplacementText) {
    auto dialog = Open(205);
    screen->Type(602, "z");
    EXPECT_EQ(screen->text(602), "1");
}

TEST_F(SymbologyDialogTest, UnlistedRadioValueIsKeptUnlessAButtonIsClicked) {
    t.barcodeSettings.optionFlags6 = 0x57;  // Industrial 25 start/stop pattern 3
    t.barcodeSettings.optionFlags9 = 0xD9;  // MSI verification 3
    auto industrial = Open(204);
    for (int id : {401, 402, 403}) EXPECT_FALSE(screen->checked(id));
    screen->Click(1);
    EXPECT_EQ(byte(6), 0x57);
    auto msi = Open(208);
    for (int id : {401, 402, 403}) EXPECT_FALSE(screen->checked(id));
    EXPECT_TRUE(screen->checked(405));
    screen->Click(1);
    EXPECT_EQ(byte(9), 0xD9);
    industrial = Open(204);
    screen->Click(402);
    screen->Click(1);
    EXPECT_EQ(byte(6), 0x55);
    msi = Open(208);
    screen->Click(403);
    screen->Click(406);
    screen->Click(1);
    EXPECT_EQ(byte(9), 0xA9);
}

TEST_F(SymbologyDialogTest, CodabarRadioMapping) {
    auto dialog = Open(207);
    EXPECT_TRUE(screen->checked(401));
    screen->Click(405);
    EXPECT_FALSE(screen->checked(401));
    screen->Click(1);
    EXPECT_EQ(byte(7), 0xB8);
    dialog = Open(207);
    EXPECT_TRUE(screen->checked(405));
    screen->Click(403);
    screen->Click(1);
    EXPECT_EQ(byte(7), 0x98);
    // "None" clears the stored form too.
    t.barcodeSettings.optionFlags7 = 0xB0;
    dialog = Open(207);
    EXPECT_TRUE(screen->checked(401));
    screen->Click(1);
    EXPECT_EQ(byte(7), 0x80);
}

TEST_F(SymbologyDialogTest, EachCheckBoxWritesItsOwnBit) {
    struct Case {
        int button, id, byte, bit;
    } cases[] = {
        {201, 101, 5, 7},  {201, 102, 5, 6},  {201, 103, 5, 5},  {201, 104, 5, 4},  {202, 101, 5, 3},
        {203, 101, 5, 2},  {204, 101, 6, 7},  {204, 102, 6, 6},  {205, 101, 5, 1},  {205, 102, 5, 0},
        {206, 101, 6, 5},  {206, 102, 6, 4},  {209, 101, 9, 2},  {209, 102, 9, 3},  {213, 101, 9, 1},
        {213, 102, 10, 1}, {213, 103, 10, 5}, {216, 101, 11, 7}, {216, 102, 10, 3}, {219, 101, 10, 7},
        {219, 102, 10, 6}, {219, 103, 10, 2}, {219, 104, 10, 0}, {219, 105, 10, 4}, {219, 106, 9, 0},
    };
    for (const Case& c : cases) {
        ApplyBarcodeDefaults(t);
        ApplicationTemplate before = t;
        auto dialog = Open(c.button);
        screen->Click(c.id);
        screen->Click(1);
        for (int i = 0; i < 24; ++i) {
            int expected = before.barcodeSettings.bytes()[i] ^ (i == c.byte ? 1 << c.bit : 0);
            EXPECT_EQ(byte(i), expected) << c.button << " " << c.id << " byte " << i;
        }
    }
}

TEST_F(SymbologyDialogTest, CancelWritesNothing) {
    auto dialog = Open(208);
    screen->Click(402);
    screen->Click(404);
    screen->Click(407);
    screen->Type(601, "9");
    screen->Click(2);
    EXPECT_EQ(screen->closed, 0);
    ApplicationTemplate defaults{};
    ApplyBarcodeDefaults(defaults);
    EXPECT_EQ(0, std::memcmp(t.barcodeSettings.bytes(), defaults.barcodeSettings.bytes(), 24));
}

TEST_F(SymbologyDialogTest, TitlesAndItemsMatchTheBitTable) {
    EXPECT_EQ(SymbologyDialogs().size(), 12u);
    for (const SymbologyDialogInfo& info : SymbologyDialogs()) {
        EXPECT_TRUE(info.title.ends_with("碼參數")) << info.name;
        std::size_t bits = 0;
        for (const SymbologyItem& item : info.items) bits += item.kind == SymbologyItemKind::Length ? 3 : 1;
        if (info.name == "CodabarDlg") ++bits;  // one group over two fields
        EXPECT_EQ(bits, BarcodeFieldsOf(info.name).size()) << info.name;
    }
    EXPECT_EQ(FindSymbologyDialog(219)->title, "EAN 13 和 UPCA 碼參數");
}

}  // namespace
}  // namespace k52
