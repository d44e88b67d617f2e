// The status line and its clock, the keypad's geometry, and the press-level handling of the keys.
#include "SimTestSupport.h"

namespace k52::test {
namespace {

TEST(StatusText, LayoutOfDateClockAndCount) {
    struct Case {
        LocalTime time;
        int tick, count;
        const char* expected;
    } cases[] = {
        {{2024, 3, 6, 9, 5, 0}, 0, 12, "MAR  6,  9:5   00012"},
        {{2024, 3, 6, 9, 5, 0}, 5, 12, "MAR  6,  9 5   00012"},
        {{2023, 12, 31, 23, 59, 0}, 4, 0, "DEC 31, 23:59  00000"},
        {{2023, 12, 31, 23, 59, 0}, 9, 0, "DEC 31, 23 59  00000"},
        {{2024, 1, 15, 10, 5, 0}, 2, 7, "JAN 15, 10:5   00007"},
        {{2024, 7, 1, 0, 0, 0}, 0, 98765, "JUL  1,  0:0   98765"},
        // The ten-thousands digit is not reduced: 123456 shows '0' + 12.
        {{2024, 11, 2, 14, 30, 0}, 0, 123456, "NOV  2, 14:30  <3456"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatStatusText(c.time, c.tick, c.count), c.expected);
}

TEST(StatusText, MonthNamesAndAClockOutOfRangeKeepTwentyCharacters) {
    const char* names[12] = {"JAN ", "FEB ", "MAR ", "APR ", "MAY ", "JUN ",
                             "JUL ", "AUG ", "SEP ", "OCT ", "NOV ", "DEC "};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(FormatStatusText({2024, m, 1, 0, 0, 0}, 0, 0).substr(0, 4), names[m - 1]);
    std::string odd = FormatStatusText({2024, 13, 123456, -5, 999, 0}, 0, 1);
    EXPECT_EQ(odd.size(), 20u);
    EXPECT_EQ(odd.substr(15), "00001");
}

using Clock = SimTest;

TEST_F(Clock, TheColonShowsForTicksZeroToFourAndOnlyTheMainMenuDrawsTheLine) {
    Ticks(10);
    ASSERT_EQ(view.statusLines.size(), 10u);
    for (std::size_t i = 0; i < 10; ++i) {
        std::size_t tick = (i + 1) % 10;
        EXPECT_EQ(view.statusLines[i], tick <= 4 ? "MAR  6,  9:5   00000" : "MAR  6,  9 5   00000") << tick;
    }
    EXPECT_EQ(Run().tickCount, 0);
    Keys({kKeyDigit2});
    Ticks(3);
    EXPECT_EQ(view.statusLines.size(), 10u);
    EXPECT_EQ(sim.StatusText(), "MAR  6,  9:5   00000");
    clock.time.minute = 10;
    EXPECT_EQ(sim.StatusText(), "MAR  6,  9:10  00000");
}

TEST(Keypad, HitTestFindsEveryKeyInsideItsAreaOnly) {
    for (int key = 1; key <= 20; ++key) {
        KeyPoint o = KeyOrigin(key);
        KeySize s = KeyImageSize(key);
        EXPECT_EQ(KeyHitTest(o.x + 1, o.y + 1), key);
        // The block's vertical bounds cut the last hit row of the bottom keys (10..12, 17..20).
        bool bottom = (key >= 10 && key <= 12) || key >= 17;
        EXPECT_EQ(KeyHitTest(o.x + s.width - 2, o.y + s.height - 2), bottom ? 0 : key) << key;
        EXPECT_EQ(KeyHitTest(o.x + s.width - 2, o.y + s.height - 3), key) << key;
        // The image's last pixel column and row are not part of the key.
        EXPECT_EQ(KeyHitTest(o.x + s.width - 1, o.y + 1), 0) << key;
        EXPECT_EQ(KeyHitTest(o.x + 1, o.y + s.height - 1), 0) << key;
    }
}

TEST(Keypad, OriginsSizesAndImages) {
    EXPECT_EQ(KeyOrigin(1), (KeyPoint{30, 235}));
    EXPECT_EQ(KeyOrigin(6), (KeyPoint{120, 263}));
    EXPECT_EQ(KeyOrigin(12), (KeyPoint{120, 319}));
    EXPECT_EQ(KeyOrigin(13), (KeyPoint{33, 347}));
    EXPECT_EQ(KeyOrigin(20), (KeyPoint{126, 370}));
    EXPECT_EQ(KeyOrigin(0), (KeyPoint{0, 0}));
    EXPECT_EQ(KeyImageSize(12), (KeySize{32, 20}));
    EXPECT_EQ(KeyImageSize(13), (KeySize{23, 15}));
    EXPECT_EQ(KeyReleasedImageId(12), 512);
    EXPECT_EQ(KeyReleasedImageId(13), 513);
    EXPECT_EQ(KeyPressedImageId(1), 521);
    EXPECT_EQ(KeyPressedImageId(20), 540);
}

TEST(Keypad, GapsAndTheCaseAreNoKey) {
    struct Case {
        int x, y, key;
    } cases[] = {
        {62, 240, 0},    // the 14-pixel gap between keys 1 and 2
        {74, 240, 0},    //
        {75, 240, 2},    // key 2's first column
        {40, 255, 0},    // between the rows of keys 1 and 4
        {30, 240, 0},    // left of the upper block
        {40, 235, 0},    // above it
        {152, 240, 0},   // right of it
        {40, 337, 0},    // below it
        {33, 348, 13},   // key 13's first column
        {55, 350, 0},    // the gap after key 13
        {147, 371, 20},  //
        {148, 371, 0},   //
        {40, 347, 0},    //
        {40, 383, 0},    //
        {90, 100, 0},    // the display
        {-5, -5, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(KeyHitTest(c.x, c.y), c.key) << c.x << "," << c.y;
}

using Controller = SimTest;

TEST_F(Controller, ThePowerKeyOpensTheCommandMenuOnReleaseAtItsOrigin) {
    keypad.Press(kKeyPower);
    EXPECT_TRUE(keypad.keyDown());
    EXPECT_EQ(view.keyDraws, std::vector<int>{20});
    EXPECT_TRUE(view.events.empty());
    keypad.Release();
    EXPECT_EQ(view.keyDraws, (std::vector<int>{20, -20}));
    EXPECT_EQ(view.events, std::vector<std::string>{"menu@126,370"});
    EXPECT_FALSE(keypad.keyDown());
    EXPECT_EQ(State(), SimState::MainMenu);
}

TEST_F(Controller, APressOffTheKeysDoesNothingAndAKeyActsOnceAtThePress) {
    keypad.Press(0);
    EXPECT_EQ(keypad.pressedKey(), 0);
    EXPECT_FALSE(keypad.keyDown());
    keypad.Release();
    EXPECT_TRUE(view.keyDraws.empty());
    keypad.Press(kKeyDigit3);
    EXPECT_EQ(State(), SimState::SystemTools);
    keypad.Release();
    EXPECT_EQ(State(), SimState::SystemTools);
    EXPECT_EQ(view.keyDraws, (std::vector<int>{9, -9}));
}

TEST_F(Controller, TheAlphaIndicatorIsDrawnBeforeTheKeyActs) {
    Line(1, 0, kLineString, "N:");
    Run1();
    keypad.Press(kKeyAlpha);
    EXPECT_TRUE(Run().alphaMode);
    EXPECT_EQ(view.alphaDraws, std::vector<int>{1});
    EXPECT_EQ(view.keyDraws.back(), kKeyAlpha);
}

}  // namespace
}  // namespace k52::test
