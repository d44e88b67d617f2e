// The template's menus on the simulated display: layout, highlight, digits, arrows, Esc, targets.
#include "SimTestSupport.h"

namespace k52::test {
namespace {

class Menus : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        t.startPosition = 1;
    }
    void FourOptionMenu(bool title) {
        MenuRecord& m = t.menu(1);
        m.showTitle = title ? 1 : 0;
        Put(m.title, "\xa5\x44\xbf\xef\xb3\xe6");  // 主選單
        Option(1, 0, "IN", FormTarget(1));
        Option(1, 1, "OUT", FormTarget(2));
        Option(1, 2, "COUNT", MenuTarget(2));
        Option(1, 3, "EXIT", 0);
        Line(1, 0, kLineString, "IN:");
        Line(2, 0, kLineString, "OUT:");
        t.form(1).escapeTarget = MenuTarget(1);
        t.form(2).escapeTarget = MenuTarget(1);
    }
};

TEST_F(Menus, TitledMenuHighlightsRowTwoAndArrowsStopAtTheEnds) {
    FourOptionMenu(true);
    Run1();
    EXPECT_EQ(State(), SimState::AppMenu);
    EXPECT_EQ(sim.engineState().activeTarget, MenuTarget(1));
    EXPECT_EQ(Row(0), "\xa5\x44\xbf\xef\xb3\xe6");
    EXPECT_EQ(Row(1), "IN");
    EXPECT_EQ(Row(4), "EXIT");
    for (int r = 5; r < 8; ++r) EXPECT_EQ(Row(r), "");
    EXPECT_EQ(Highlight(), 2);
    Keys({kKeyUp});
    EXPECT_EQ(Highlight(), 2);
    Keys({kKeyDown, kKeyDown, kKeyDown, kKeyDown});
    EXPECT_EQ(Highlight(), 5);
    EXPECT_EQ(t.menu(1).currentOption, 3);
}

TEST_F(Menus, UntitledMenuStartsOnRowOne) {
    FourOptionMenu(false);
    Put(t.menu(1).title, "HIDDEN");
    Run1();
    EXPECT_EQ(Row(0), "IN");
    EXPECT_EQ(Row(3), "EXIT");
    EXPECT_EQ(Highlight(), 1);
}

TEST_F(Menus, DigitsSelectOnlyExistingOptionsAndZeroNever) {
    FourOptionMenu(false);
    Run1();
    Keys({kKeyDigit5, kKeyDigit9, kKeyDigit0, kKeyPoint, kKeySpace, kKeyBackspace, kKeyFunction});
    EXPECT_EQ(State(), SimState::AppMenu);
    EXPECT_EQ(Highlight(), 1);
    Keys({kKeyDigit2});
    EXPECT_EQ(State(), SimState::FormEntry);
    EXPECT_EQ(sim.engineState().activeTarget, 2);
    EXPECT_EQ(t.menu(1).currentOption, 1);
}

TEST_F(Menus, EscBackToAMenuKeepsTheOptionChosenButAnOptionTargetResetsIt) {
    FourOptionMenu(true);
    Run1();
    Keys({kKeyDigit2, kKeyEsc});  // form 2, back by Esc
    EXPECT_EQ(State(), SimState::AppMenu);
    EXPECT_EQ(Highlight(), 3);
    Option(1, 1, "OUT", MenuTarget(1));  // the same menu, reached by an option this time
    Keys({kKeyEnter});
    EXPECT_EQ(Highlight(), 2);
    EXPECT_EQ(t.menu(1).currentOption, 0);
}

TEST_F(Menus, EnterGoesToTheHighlightedOptionsTarget) {
    FourOptionMenu(false);
    Option(2, 0, "SUB", 0);
    t.menu(2).escapeTarget = MenuTarget(1);
    Run1();
    Keys({kKeyDown, kKeyDown, kKeyEnter});
    EXPECT_EQ(sim.engineState().activeTarget, MenuTarget(2));
    EXPECT_EQ(Row(0), "SUB");
    Keys({kKeyEsc});
    EXPECT_EQ(Highlight(), 3);
    Keys({kKeyDown, kKeyEnter});  // EXIT: the main menu
    EXPECT_EQ(State(), SimState::MainMenu);
    EXPECT_EQ(Highlight(), 1);
}

TEST_F(Menus, BlankOptionsInBetweenAreCountedOutNotSkipped) {
    Option(1, 0, "A", 0);
    Option(1, 1, "  ", FormTarget(1));
    Option(1, 2, "C", 0);
    Line(1, 0, kLineString, "X:");
    Run1();
    EXPECT_EQ(t.menu(1).optionCount, 2);
    EXPECT_EQ(Row(0), "A");
    EXPECT_EQ(Row(1), "  ");
    EXPECT_EQ(Row(2), "");
    Keys({kKeyDigit3});
    EXPECT_EQ(State(), SimState::AppMenu);
    Keys({kKeyDigit2});
    EXPECT_EQ(State(), SimState::FormEntry);
}

TEST_F(Menus, OptionCountLooksWithinTheRowWidthOnly) {
    // Text only beyond column 15 counts in a 20-column menu, not in a 15-column one.
    Option(1, 0, std::string(16, ' ') + "Z", 0);
    Option(1, 1, "B", 0);
    DeriveTemplateFields(t);
    EXPECT_EQ(t.menu(1).optionCount, 2);
    t.menu(1).narrowRows = 1;
    DeriveTemplateFields(t);
    EXPECT_EQ(t.menu(1).optionCount, 1);
    // A full 21-byte option without its NUL is read within its width.
    std::memset(t.menu(1).options[1], 'x', 21);
    t.menu(1).narrowRows = 0;
    DeriveTemplateFields(t);
    EXPECT_EQ(t.menu(1).optionCount, 2);
}

TEST_F(Menus, TenOptionsScrollBelowAFixedTitle) {
    t.menu(1).showTitle = 1;
    Put(t.menu(1).title, "TITLE");
    for (int i = 0; i < 10; ++i) Option(1, i, "OPT" + std::to_string(i + 1), 0);
    Run1();
    EXPECT_EQ(Row(7), "OPT7");
    for (int i = 0; i < 9; ++i) Keys({kKeyDown});
    EXPECT_EQ(t.menu(1).currentOption, 9);
    EXPECT_EQ(Row(0), "TITLE");
    EXPECT_EQ(Row(1), "OPT4");
    EXPECT_EQ(Row(7), "OPT10");
    EXPECT_EQ(Highlight(), 8);
    // Going back up, the list stays put until the highlight reaches its top.
    for (int i = 0; i < 6; ++i) Keys({kKeyUp});
    EXPECT_EQ(Row(1), "OPT4");
    EXPECT_EQ(Highlight(), 2);
    Keys({kKeyUp});
    EXPECT_EQ(Row(1), "OPT3");
    EXPECT_EQ(Highlight(), 2);
}

TEST_F(Menus, TenOptionsWithoutTitleScrollToo) {
    for (int i = 0; i < 10; ++i) Option(1, i, "OPT" + std::to_string(i + 1), 0);
    Run1();
    for (int i = 0; i < 8; ++i) Keys({kKeyDown});
    EXPECT_EQ(Row(0), "OPT2");
    EXPECT_EQ(Row(7), "OPT9");
    EXPECT_EQ(Highlight(), 8);
}

TEST_F(Menus, AStoredCurrentOptionBeyondTheCountShowsTheFirstOption) {
    FourOptionMenu(true);
    Option(2, 0, "ONLY", 0);
    t.menu(2).escapeTarget = 0;
    t.form(1).escapeTarget = MenuTarget(2);
    t.menu(2).currentOption = 200;  // as a file may hold it
    Run1();
    Keys({kKeyDigit1, kKeyEsc});  // form 1, then Esc to menu 2, which keeps its currentOption
    EXPECT_EQ(sim.engineState().activeTarget, MenuTarget(2));
    EXPECT_EQ(Highlight(), 1);
    EXPECT_EQ(t.menu(2).currentOption, 0);
    Keys({kKeyEnter});
    EXPECT_EQ(State(), SimState::MainMenu);
}

TEST_F(Menus, TargetCodesBeyondTwentyLeadToTheMainMenu) {
    for (int code : {21, 99, 255}) {
        FourOptionMenu(false);
        Option(1, 0, "IN", code);
        sim.DispatchKey(kRestartCode);
        Run1();
        Keys({kKeyDigit1});
        EXPECT_EQ(State(), SimState::MainMenu) << code;
        EXPECT_EQ(Highlight(), 1);

        t.menu(1).escapeTarget = static_cast<u8>(code);
        Run1();
        Keys({kKeyEsc});
        EXPECT_EQ(State(), SimState::MainMenu) << code;
    }
}

TEST_F(Menus, LongTitleAndOptionsAreCutAtTwentyColumnsWithoutSplittingACharacter) {
    t.menu(1).showTitle = 1;
    std::memset(t.menu(1).title, 'T', 21);  // no terminator
    // 19 ASCII bytes and then a double-byte character that would straddle column 20.
    Put(t.menu(1).options[0], std::string(19, 'o') + "\xa5\x44");
    t.menu(1).optionTargets[0] = 0;
    Run1();
    EXPECT_EQ(Row(0), std::string(20, 'T'));
    EXPECT_EQ(Row(1), std::string(19, 'o'));
}

}  // namespace
}  // namespace k52::test
