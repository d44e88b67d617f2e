// The terminal's own screens: main menu, system tools, settings view, upload screen, nothing to run.
#include "SimTestSupport.h"

namespace k52::test {
namespace {

// CP950 bytes of the firmware texts, worked out from the code page table.
const std::string kMain1 = "1. \xa6\xac \xb6\xb0 \xb8\xea \xae\xc6";
const std::string kMain2 = "2. \xa4\x57 \xb6\xc7 \xc0\xc9 \xae\xd7";
const std::string kMain3 = "3. \xa8\x74 \xb2\xce \xa4\x75 \xa8\xe3";
const std::string kTools[8] = {
    "1.\xa8\x74 \xb2\xce \xb3\x5d \xa9\x77",
    "2.\xc2\x73 \xc4\xfd \xb8\xea \xae\xc6",
    "3.\xa7\x52 \xb0\xa3 \xb8\xea \xae\xc6",
    "4.\xb8\xd5 \xc5\xaa \xb1\xf8 \xbd\x58",
    "5.\xb3\x5d \xa9\x77 \xa4\xe9 \xb4\xc1 \xae\xc9 \xb6\xa1",
    "6.\xa4\x55 \xb8\xfc \xa8\x74 \xb2\xce \xb5\x7b \xa6\xa1",
    "7.\xb0\x4f \xbe\xd0 \xc5\xe9 \xa9\x4d \xb9\x71 \xa6\xc0",
    "8.\xa4\x55 \xb8\xfc \xaf\xc1 \xa4\xde \xc0\xc9 \xae\xd7",
};
const std::string kSettings[8] = {
    " [ \xa8\x74  \xb2\xce  \xb3\x5d  \xa9\x77 ] ",
    "1.\xb3\x5d \xa9\x77 \xa4\x57 \xb6\xc7 \xb0\xf0   ",
    "2.\xb3\x5d \xa9\x77 \xa4\x55 \xb8\xfc \xb0\xf0   ",
    "3.\xb3\x5d \xa9\x77 \xb6\xc7 \xbf\xe9 \xb3\x74 \xab\xd7",
    "4.\xb3\x5d \xa9\x77 \xbf\xc3 \xb9\xf5 \xad\x49 \xa5\xfa",
    "5.\xb3\x5d \xa9\x77 \xa7\x52 \xb0\xa3 \xb8\xea \xae\xc6",
    "6.\xb8\xea \xae\xc6 \xb5\xa7 \xbc\xc6 \xb4\xa3 \xa5\xdc",
    "7.\xb9\xee \xac\xdd \xa8\x74 \xb2\xce \xb3\x5d \xa9\x77",
};
const std::string kUpload[4] = {
    "\xb3\x71 \xb0\x54 \xb3\x73 \xb1\xb5 \xa4\xa4 .",
    "                ",
    "\xad\x59 \xad\x6e \xa8\xfa \xae\xf8     ",
    "\xbd\xd0 \xab\xf6 ESC       ",
};

using Firmware = SimTest;

TEST_F(Firmware, MainMenuAtStartLeavesRowSevenToTheStatusLine) {
    EXPECT_EQ(State(), SimState::MainMenu);
    EXPECT_EQ(Highlight(), 1);
    EXPECT_EQ(Row(0), kMain1);
    EXPECT_EQ(Row(1), kMain2);
    EXPECT_EQ(Row(2), kMain3);
    EXPECT_EQ(Row(3), std::string(14, ' '));
    for (int r = 4; r < 8; ++r) EXPECT_EQ(Row(r), "") << r;
    ASSERT_EQ(view.rects.size(), 1u);
    EXPECT_EQ(view.rects[0], (SimRect{25, 52, 154, 133}));
    for (const auto& row : sim.screen().rows) EXPECT_EQ(row[20], 0);
}

TEST_F(Firmware, MainMenuUpAndDownWrapAndRepaintTheTopFiveRowsOnly) {
    struct Case {
        int key, expected;
    } cases[] = {{kKeyUp, 3}, {kKeyUp, 2}, {kKeyUp, 1}, {kKeyDown, 2}, {kKeyDown, 3}, {kKeyDown, 1}};
    for (const Case& c : cases) {
        view.rects.clear();
        Keys({c.key});
        EXPECT_EQ(Highlight(), c.expected);
        ASSERT_EQ(view.rects.size(), 1u);
        EXPECT_EQ(view.rects[0], (SimRect{25, 52, 154, 103}));
    }
    EXPECT_EQ(State(), SimState::MainMenu);
}

TEST_F(Firmware, MainMenuEnterActsAsTheHighlightedDigit) {
    Keys({kKeyDown, kKeyEnter});  // row 2: upload
    EXPECT_EQ(State(), SimState::UploadWait);
    Keys({kKeyEsc, kKeyUp, kKeyEnter});  // row 3: system tools
    EXPECT_EQ(State(), SimState::SystemTools);
}

TEST_F(Firmware, UploadScreenHasNoHighlightAndOnlyEscLeavesIt) {
    Keys({kKeyDigit2});
    EXPECT_EQ(State(), SimState::UploadWait);
    EXPECT_EQ(Highlight(), 0);
    for (int r = 0; r < 4; ++r) EXPECT_EQ(Row(r), kUpload[r]) << r;
    for (int r = 4; r < 8; ++r) EXPECT_EQ(Row(r), "") << r;
    for (int key = 1; key <= 18; ++key) Keys({key});
    EXPECT_EQ(State(), SimState::UploadWait);
    EXPECT_EQ(Row(0), kUpload[0]);
    view.rects.clear();
    Keys({kKeyEsc});
    EXPECT_EQ(State(), SimState::MainMenu);
    EXPECT_EQ(Highlight(), 1);
    EXPECT_EQ(view.rects.back(), WholeDisplayRect());
}

TEST_F(Firmware, SystemToolsWithSevenItemsWrapsAndReturnsToRowThree) {
    Keys({kKeyDigit3});
    EXPECT_EQ(State(), SimState::SystemTools);
    EXPECT_EQ(Highlight(), 1);
    for (int r = 0; r < 7; ++r) EXPECT_EQ(Row(r), kTools[r]) << r;
    EXPECT_EQ(Row(7), "");
    Keys({kKeyUp});
    EXPECT_EQ(Highlight(), 7);
    Keys({kKeyDown});
    EXPECT_EQ(Highlight(), 1);
    // Enter on an item other than 1, and the other digits, do nothing.
    Keys({kKeyDown, kKeyEnter, kKeyDigit2, kKeyDigit9, kKeyDigit0, kKeyPoint, kKeySpace});
    EXPECT_EQ(State(), SimState::SystemTools);
    EXPECT_EQ(Highlight(), 2);
    view.rects.clear();
    Keys({kKeyEsc});
    EXPECT_EQ(State(), SimState::MainMenu);
    EXPECT_EQ(Highlight(), 3);
    EXPECT_EQ(view.rects.back(), WholeDisplayRect());
}

TEST_F(Firmware, SystemToolsHasEightItemsOnlyOnceALookupFileIsAppliedDefined) {
    t.lookupFile(1).recordLength = 20;
    t.lookupFile(1).fieldCount = 2;
    Keys({kKeyDigit3});
    EXPECT_EQ(Row(7), "") << "before any apply the menu has 7 items";
    Apply();
    EXPECT_EQ(sim.engineState().toolCount, 8);
    Keys({kKeyDigit3});
    for (int r = 0; r < 8; ++r) EXPECT_EQ(Row(r), kTools[r]) << r;
    Keys({kKeyUp});
    EXPECT_EQ(Highlight(), 8);
    Keys({kKeyDown});
    EXPECT_EQ(Highlight(), 1);

    t.lookupFile(1).fieldCount = 0;  // a record length alone does not define it
    Apply();
    EXPECT_EQ(sim.engineState().toolCount, 7);
}

TEST_F(Firmware, SettingsViewOpensOnItsLastRowAndEveryItemReturns) {
    Keys({kKeyDigit3, kKeyDown, kKeyUp, kKeyEnter});
    EXPECT_EQ(State(), SimState::SystemSettings);
    EXPECT_EQ(Highlight(), 8);
    for (int r = 0; r < 8; ++r) EXPECT_EQ(Row(r), kSettings[r]) << r;
    Keys({kKeyDown});
    EXPECT_EQ(Highlight(), 2);
    Keys({kKeyUp});
    EXPECT_EQ(Highlight(), 8);
    Keys({kKeyDigit8, kKeyDigit9, kKeyDigit0, kKeyPoint, kKeyBackspace, kKeyAlpha});
    EXPECT_EQ(State(), SimState::SystemSettings);
    for (int key : {kKeyDigit1, kKeyDigit4, kKeyDigit7, kKeyEnter, kKeyEsc}) {
        Keys({key});
        EXPECT_EQ(State(), SimState::SystemTools) << key;
        EXPECT_EQ(Highlight(), 1);
        Keys({kKeyDigit1});
        EXPECT_EQ(State(), SimState::SystemSettings);
    }
}

TEST_F(Firmware, NothingToRunWarnsPostsNewAndForgetsThePress) {
    Keys({kKeyDigit1});
    EXPECT_EQ(State(), SimState::MainMenu);
    EXPECT_EQ(view.events, (std::vector<std::string>{"warning", "command:1010", "release"}));
    EXPECT_EQ(Utf8ToCp950(view.boxText).bytes,
              "\xbd\xd0\xa9\x77\xb8\x71\xb1\x7a\xaa\xba\xc0\xb3\xa5\xce\xb5\x7b"
              "\xa6\xa1!!");
    EXPECT_EQ(view.boxTitle, "沒有可執行之程式");
    EXPECT_EQ(view.boxIcon, MessageIcon::Warning);
    EXPECT_FALSE(keypad.keyDown());
}

TEST_F(Firmware, MenuStartWithOnlyBlankOptionsHasNothingToRunEvenWithAFormReady) {
    t.startPosition = 1;
    Option(1, 0, "   ", 1);
    Line(1, 0, kLineString, "A:");
    Run1();
    EXPECT_EQ(view.events.front(), "warning");
    EXPECT_EQ(State(), SimState::MainMenu);
}

TEST_F(Firmware, RestartReturnsToTheMainMenuFromAnyScreen) {
    Line(1, 0, kLineString, "A:");
    for (int path : {kKeyDigit2, kKeyDigit3, kKeyDigit1}) {
        Keys({path});
        view.rects.clear();
        sim.DispatchKey(kRestartCode);
        EXPECT_EQ(State(), SimState::MainMenu);
        EXPECT_EQ(Highlight(), 1);
        EXPECT_EQ(sim.engineState().activeTarget, 0);
        EXPECT_EQ(view.rects.back(), WholeDisplayRect());
    }
}

TEST_F(Firmware, CodesOutsideTheKeypadAreIgnored) {
    for (int code : {0, -1, 21, 50, 52, 1000}) sim.DispatchKey(code);
    EXPECT_EQ(State(), SimState::MainMenu);
    EXPECT_EQ(sim.engineState().lastKey, 0);
}

}  // namespace
}  // namespace k52::test
