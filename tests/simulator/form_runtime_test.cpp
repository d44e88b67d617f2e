// The template's forms: type checks, multi-tap letters, lengths, scrolling, continuation lines, the
// up key, completion, initial values and the derived fields the runtime relies on.
#include "SimTestSupport.h"

namespace k52::test {
namespace {

const std::string kStars(20, '*');
const std::string kWrongType = "\xb8\xea \xae\xc6 \xc3\xfe \xab\xac \xbf\xf9 \xbb\x7e !";
const std::string kTooShort = "\xb8\xea \xae\xc6 \xaa\xf8 \xab\xd7 \xa4\xd3 \xb5\x75 !";
const std::string kPressAnyKey = "\xbd\xd0 \xab\xf6 \xa5\xf4 \xb7\x4e \xc1\xe4 ... ";

using Forms = SimTest;

TEST_F(Forms, EachLineTypeAcceptsOnlyItsCharacters) {
    struct Case {
        int type, key;
        char shown;  // 0: refused
    } cases[] = {
        {kLineNumeric, kKeyDigit5, '5'}, {kLineNumeric, kKeyPoint, 0},  {kLineNumeric, kKeySpace, 0},
        {kLineReal, kKeyPoint, '.'},     {kLineReal, kKeyDigit0, '0'},  {kLineReal, kKeySpace, 0},
        {kLineString, kKeySpace, ' '},   {kLineString, kKeyPoint, '.'}, {kLineAlpha, kKeyDigit7, 0},
    };
    for (const Case& c : cases) {
        Line(1, 0, c.type, "P:", 10);
        sim.DispatchKey(kRestartCode);
        Run1();
        ASSERT_EQ(State(), SimState::FormEntry);
        Keys({c.key});
        if (c.shown) {
            EXPECT_EQ(State(), SimState::FormEntry) << c.type << "/" << c.key;
            EXPECT_EQ(Row(0), std::string("P:") + c.shown);
            EXPECT_EQ(Run().cursorCol, 3);
        } else {
            EXPECT_EQ(State(), SimState::MessageScreen) << c.type << "/" << c.key;
            EXPECT_EQ(Row(0), "P:");
            EXPECT_EQ(Row(5), kWrongType);
            EXPECT_EQ(LineText(0), "");
        }
    }
}

TEST_F(Forms, MessageScreenFramesTheMessageAndAnyKeyReturnsWithTheInput) {
    for (int i = 0; i < 5; ++i) Line(1, i, kLineNumeric, "L" + std::to_string(i) + ":");
    Run1();
    Digits("12");
    Keys({kKeySpace});
    EXPECT_EQ(Row(0), "L0:12");
    EXPECT_EQ(Row(3), "L3:");
    EXPECT_EQ(Row(4), kStars);
    EXPECT_EQ(Row(5), kWrongType);
    EXPECT_EQ(Row(6), kPressAnyKey);
    EXPECT_EQ(Row(7), kStars);
    for (int key : {kKeyEsc, kKeyAlpha, kKeyDown}) {
        Keys({key});
        EXPECT_EQ(State(), SimState::FormEntry) << key;
        EXPECT_EQ(Row(0), "L0:12");
        EXPECT_EQ(Row(4), "L4:");
        EXPECT_EQ(Run().cursorCol, 5);
        EXPECT_FALSE(Run().alphaMode) << "the alpha key does not switch on the message screen";
        Keys({kKeySpace});
    }
}

TEST_F(Forms, TapsCycleThroughTheLetterGroupAndTheSeventhTickCommits) {
    Line(1, 0, kLineString, "N:");
    Run1();
    Keys({kKeyAlpha});
    EXPECT_TRUE(Run().alphaMode);
    EXPECT_EQ(view.alphaDraws, std::vector<int>{1});
    Keys({kKeyDigit7, kKeyDigit7, kKeyDigit7, kKeyDigit7});
    EXPECT_EQ(view.letters, (std::vector<std::string>{"0,2,A", "0,2,B", "0,2,C", "0,2,A"}));
    EXPECT_EQ(Row(0), "N:") << "a pending letter is drawn, not stored";
    Ticks(6);
    EXPECT_TRUE(Run().letterPending);
    Ticks(1);
    EXPECT_FALSE(Run().letterPending);
    EXPECT_EQ(Row(0), "N:A");
    EXPECT_EQ(Run().cursorCol, 3);
    // The same key after the commit starts a new letter.
    Keys({kKeyDigit7});
    EXPECT_EQ(view.letters.back(), "0,3,A");
}

TEST_F(Forms, EveryKeyGroupGivesItsThreeCharacters) {
    Line(1, 0, kLineString, "", 50);
    Run1();
    Keys({kKeyAlpha});
    for (int key = kKeyDigit7; key <= kKeyPoint; ++key)
        for (int taps = 1; taps <= 3; ++taps) {
            for (int i = 0; i < taps; ++i) Keys({key});
            Ticks(7);
        }
    EXPECT_EQ(LineText(0), "ABCDEFGHIJKLMNOPQRSTUVWXYZ*+$/-%:");
}

TEST_F(Forms, ADifferentKeyCommitsThePendingLetterBeforeItActs) {
    Line(1, 0, kLineString, "N:");
    Run1();
    Keys({kKeyAlpha, kKeyDigit7, kKeyDigit8});
    EXPECT_EQ(Row(0), "N:A");
    EXPECT_EQ(Run().pendingLetter, 'D');
    Keys({kKeyEsc});  // commits, then leaves
    EXPECT_EQ(State(), SimState::MainMenu);
    EXPECT_EQ(LineText(0), "AD");
    EXPECT_TRUE(Run().alphaMode) << "alpha mode outlives the form";
}

TEST_F(Forms, ANumericLineRefusesACommittedLetter) {
    Line(1, 0, kLineNumeric, "Q:");
    Run1();
    Keys({kKeyAlpha, kKeyDigit7});
    EXPECT_EQ(view.letters.back(), "0,2,A");
    Ticks(7);
    EXPECT_EQ(State(), SimState::MessageScreen);
    EXPECT_EQ(Row(5), kWrongType);
    Keys({kKeyEnter});
    EXPECT_EQ(State(), SimState::FormEntry);
    // Committed by another key, the message stays until the next key.
    Keys({kKeyDigit7, kKeyEnter});
    EXPECT_EQ(State(), SimState::MessageScreen);
    EXPECT_EQ(LineText(0), "");
    Keys({kKeyEsc});
    EXPECT_EQ(State(), SimState::FormEntry);
}

TEST_F(Forms, TheAlphaKeySwitchesOnlyWhileAFormTakesInput) {
    Keys({kKeyAlpha});
    EXPECT_FALSE(Run().alphaMode);
    EXPECT_TRUE(view.alphaDraws.empty());
    Line(1, 0, kLineString, "N:");
    Run1();
    Keys({kKeyAlpha, kKeyAlpha});
    EXPECT_EQ(view.alphaDraws, (std::vector<int>{1, 0}));
    EXPECT_FALSE(Run().alphaMode);
}

TEST_F(Forms, EnterBelowTheMinimumLengthWarnsAndKeepsTheInput) {
    Line(1, 0, kLineNumeric, "ID:", 10, 3);
    Line(1, 1, kLineNumeric, "N:");
    Run1();
    Digits("12");
    Keys({kKeyEnter});
    EXPECT_EQ(State(), SimState::MessageScreen);
    EXPECT_EQ(Row(5), kTooShort);
    Keys({kKeyDigit9});  // only dismisses
    EXPECT_EQ(LineText(0), "12");
    Digits("3");
    Keys({kKeyEnter});
    EXPECT_EQ(State(), SimState::FormEntry);
    EXPECT_EQ(Run().cursorRow, 1);
    EXPECT_EQ(Run().cursorCol, 2);
}

TEST_F(Forms, TypingBeyondTheMaximumOverwritesTheLastPosition) {
    Line(1, 0, kLineNumeric, "0123456789", 5);
    Run1();
    Digits("123456");
    EXPECT_EQ(LineText(0), "12346");
    EXPECT_EQ(Row(0), "012345678912346");
    EXPECT_EQ(Run().cursorCol, 14);
    Keys({kKeyBackspace});  // the character under the cursor goes; the cursor stays
    EXPECT_EQ(Row(0), "01234567891234");
    EXPECT_EQ(Run().cursorCol, 14);
    Keys({kKeyBackspace});
    EXPECT_EQ(Row(0), "0123456789123");
    EXPECT_EQ(Run().cursorCol, 13);
    EXPECT_EQ(view.rects.back(), DisplayRowRect(0));
}

TEST_F(Forms, AOneCharacterFieldCanBeClearedAgain) {
    for (int max : {1, 0}) {
        Line(1, 0, kLineNumeric, "Q:", max);
        sim.DispatchKey(kRestartCode);
        Run1();
        Digits("78");
        EXPECT_EQ(Row(0), "Q:8");
        EXPECT_EQ(Run().cursorCol, 2);
        Keys({kKeyBackspace});
        EXPECT_EQ(Row(0), "Q:") << max;
        EXPECT_EQ(LineText(0), "");
        EXPECT_EQ(Run().cursorCol, 2);
        Keys({kKeyBackspace});  // nothing left: nothing happens
        EXPECT_EQ(Run().cursorCol, 2);
    }
}

TEST_F(Forms, ALongEntryScrollsLeftAtColumnNineteenAndBackspaceScrollsBack) {
    Line(1, 0, kLineNumeric, "ABCDEFGHIJKLMNOP", 20);
    Run1();
    Digits("123");
    EXPECT_EQ(Run().cursorCol, 19);
    Digits("4");
    EXPECT_EQ(Row(0), "ABCDEFGHIJKLMNOP234");
    EXPECT_EQ(Run().cursorCol, 19);
    EXPECT_EQ(Run().lines[0].scroll, 1);
    Keys({kKeyBackspace});
    EXPECT_EQ(Row(0), "ABCDEFGHIJKLMNOP123");
    EXPECT_EQ(Run().cursorCol, 19);
    Keys({kKeyBackspace});
    EXPECT_EQ(Row(0), "ABCDEFGHIJKLMNOP12");
    EXPECT_EQ(Run().cursorCol, 18);
}

TEST_F(Forms, AFullScrolledFieldLosesOneCharacterPerBackspace) {
    Line(1, 0, kLineNumeric, "ABCDEFGHIJKLMNOP", 20);
    Run1();
    Digits("123456789012345678905");  // 21 digits: the last replaces the twentieth
    EXPECT_EQ(LineText(0), "12345678901234567895");
    EXPECT_EQ(Row(0), "ABCDEFGHIJKLMNOP7895");
    EXPECT_EQ(Run().cursorCol, 19);
    Keys({kKeyBackspace});
    EXPECT_EQ(LineText(0), "1234567890123456789");
    EXPECT_EQ(Row(0), "ABCDEFGHIJKLMNOP789");
    Keys({kKeyBackspace});
    EXPECT_EQ(LineText(0), "123456789012345678");
    EXPECT_EQ(Row(0), "ABCDEFGHIJKLMNOP678");
    EXPECT_EQ(Run().cursorCol, 19);
}

TEST_F(Forms, AnEntryContinuesOnTheNextLineAndBackspaceComesBack) {
    Line(1, 0, kLineString, "NAME:", 30);
    Line(1, 1, kLineContinuation, "IGNORED");
    Line(1, 2, kLineNumeric, "QTY:");
    Apply();
    EXPECT_EQ(t.form(1).maxLength[1], 20);
    Run1();
    Digits("123456789012345");
    EXPECT_EQ(Row(0), "NAME:123456789012345");
    EXPECT_EQ(Row(1), "");
    EXPECT_EQ(Run().cursorRow, 1);
    EXPECT_EQ(Run().cursorCol, 0);
    Digits("67");
    EXPECT_EQ(Row(1), "67");
    Keys({kKeyUp});  // never onto the line it continues
    EXPECT_EQ(Run().cursorRow, 1);
    Keys({kKeyEnter});
    EXPECT_EQ(Run().cursorRow, 2);
    Keys({kKeyUp});  // onto the end of the wrapped entry
    EXPECT_EQ(Run().cursorRow, 1);
    EXPECT_EQ(Run().cursorCol, 2);
    Keys({kKeyBackspace, kKeyBackspace});
    EXPECT_EQ(Row(1), "");
    Keys({kKeyBackspace});
    EXPECT_EQ(Run().cursorRow, 0);
    EXPECT_EQ(Run().cursorCol, 19);
    Keys({kKeyBackspace});
    EXPECT_EQ(Row(0), "NAME:12345678901234");
    EXPECT_EQ(Run().cursorCol, 19);
    Keys({kKeyBackspace});
    EXPECT_EQ(Row(0), "NAME:1234567890123");
    EXPECT_EQ(Run().cursorCol, 18);
}

TEST_F(Forms, NarrowFormsContinueAfterColumnFourteen) {
    t.form(1).narrowRows = 1;
    Line(1, 0, kLineString, "AB:", 30);
    Line(1, 1, kLineContinuation, "");
    Run1();
    Digits("12345678901");
    EXPECT_EQ(Run().cursorCol, 14);
    Digits("2");
    EXPECT_EQ(Row(0), "AB:123456789012");
    EXPECT_EQ(Run().cursorRow, 1);
}

TEST_F(Forms, EnterAndUpLandWhereAWrappedEntryEnds) {
    Line(1, 0, kLineString, "A:");
    Line(1, 1, kLineString, "B:", 40);
    Line(1, 2, kLineContinuation, "");
    Line(1, 3, kLineString, "C:");
    Line(1, 4, kLinePromptOnly, "NOTE");
    Apply();
    Run1();
    Keys({kKeyEnter});
    EXPECT_EQ(Run().cursorRow, 1) << "an empty continuation is passed over";
    Digits("123456789012345678");  // wraps after 18
    EXPECT_EQ(Run().cursorRow, 2);
    Digits("9");
    Keys({kKeyEnter});
    EXPECT_EQ(Run().cursorRow, 3);
    Keys({kKeyUp});
    EXPECT_EQ(Run().cursorRow, 2);
    Keys({kKeyUp});
    EXPECT_EQ(Run().cursorRow, 0);
    Keys({kKeyUp});
    EXPECT_EQ(Run().cursorRow, 0);
    Keys({kKeyEnter});
    EXPECT_EQ(Run().cursorRow, 2);
    EXPECT_EQ(Run().cursorCol, 1);
    EXPECT_EQ(Row(4), "NOTE");
}

TEST_F(Forms, UpPassesOverLinesThatTakeNoInputAndDownNeverArrives) {
    Line(1, 0, kLinePromptOnly, "INFO");
    Line(1, 1, kLineString, "A:");
    Line(1, 2, kLineString, "B:");
    Run1();
    EXPECT_EQ(Run().cursorRow, 1);
    view.rects.clear();
    Keys({kKeyUp, kKeyDown});
    EXPECT_EQ(Run().cursorRow, 1);
    EXPECT_TRUE(view.rects.empty());
    Keys({kKeyEnter, kKeyUp});
    EXPECT_EQ(Run().cursorRow, 1);
}

TEST_F(Forms, AFormThatTargetsItselfStartsOverAndCountsEachRecord) {
    Line(1, 0, kLineString, "A:");
    Line(1, 1, kLineNumeric, "B:");
    Run1();
    for (int n = 1; n <= 2; ++n) {
        Digits("1");
        Keys({kKeyEnter});
        Digits("2");
        Keys({kKeyEnter});
        EXPECT_EQ(Run().collectedCount, n);
        EXPECT_EQ(State(), SimState::FormEntry);
        EXPECT_EQ(Row(0), "A:");
        EXPECT_EQ(Row(1), "B:");
        EXPECT_EQ(Run().cursorRow, 0);
        EXPECT_EQ(Run().cursorCol, 2);
        EXPECT_EQ(LineText(0), "");
    }
    Keys({kKeyEsc});
    Ticks(1);
    EXPECT_EQ(view.statusLines.back(), "MAR  6,  9:5   00002");
}

TEST_F(Forms, InitialValuesShowAndTypingReplacesThem) {
    Line(1, 0, kLinePromptOnly, "DATE ");
    t.form(1).hasInitialValue[0] = 1;
    Put(t.form(1).initialValue[0], "2024");
    Line(1, 1, kLineNumeric, "QTY:", 10, 2);
    t.form(1).hasInitialValue[1] = 1;
    Put(t.form(1).initialValue[1], "10");
    Line(1, 2, kLineFixedData, "END ");
    t.form(1).hasInitialValue[2] = 1;
    Put(t.form(1).initialValue[2], "XYZ");
    Run1();
    EXPECT_EQ(Row(0), "DATE 2024");
    EXPECT_EQ(Row(1), "QTY:10");
    EXPECT_EQ(Row(2), "END ") << "below the last input line only the prompt shows";
    EXPECT_EQ(Run().cursorRow, 1);
    EXPECT_EQ(Run().cursorCol, 4);
    Digits("5");
    EXPECT_EQ(Row(1), "QTY:5");
    EXPECT_EQ(LineText(1), "5");
    EXPECT_EQ(Run().cursorCol, 5);
}

TEST_F(Forms, AnInitialValueIsAcceptedByEnter) {
    Line(1, 0, kLineNumeric, "QTY:", 10, 2);
    t.form(1).hasInitialValue[0] = 1;
    Put(t.form(1).initialValue[0], "10");
    t.form(1).nextTarget = 0;
    Run1();
    Keys({kKeyEnter});
    EXPECT_EQ(State(), SimState::MainMenu);
    EXPECT_EQ(Run().collectedCount, 1);
}

TEST_F(Forms, ARowLongerThanTheDisplayIsCutButTheValueStaysWhole) {
    Line(1, 0, kLineString, "PPPPPPPPPPPPPPP");
    t.form(1).hasInitialValue[0] = 1;
    Put(t.form(1).initialValue[0], "123456789");
    Line(1, 1, kLineString, std::string(17, 'Q'));
    t.form(1).hasInitialValue[1] = 1;
    Put(t.form(1).initialValue[1], "\xbc\xc6\xb6\x71");  // two ideographs, 4 columns
    Run1();
    EXPECT_EQ(Row(0), "PPPPPPPPPPPPPPP12345");
    EXPECT_EQ(LineText(0), "123456789");
    EXPECT_EQ(Row(1), std::string(17, 'Q') + "\xbc\xc6") << "the second ideograph would straddle column 20";
}

TEST_F(Forms, DeriveContinuationLengthsUsesByteArithmeticAndClearsContinuationFields) {
    FormRecord& f = t.form(3);
    Line(3, 0, kLineString, "NAME:", 30);
    for (int i = 1; i <= 3; ++i) {
        Line(3, i, kLineContinuation, "");
        f.lookupField[i] = 2;
        f.hasInitialValue[i] = f.hasPrefix[i] = f.hasSuffix[i] = 1;
    }
    Line(3, 4, kLineNumeric, "", 5);
    Line(3, 5, kLineContinuation, "", 50);
    f.hasPrefix[5] = 1;
    std::memset(f.prompt[0], 'x', 21);  // no terminator: counts as 20
    DeriveContinuationLengths(t);
    EXPECT_EQ(f.maxLength[1], 35);
    EXPECT_EQ(f.maxLength[2], 20);
    EXPECT_EQ(f.maxLength[3], 5);
    EXPECT_EQ(f.lookupField[1], 0);
    EXPECT_EQ(f.hasInitialValue[2] + f.hasPrefix[3] + f.hasSuffix[1], 0);
    EXPECT_EQ(f.maxLength[5], 50) << "only lines 1 to 4 head a continuation";
    EXPECT_EQ(f.hasPrefix[5], 1);

    Line(4, 0, kLineNumeric, "", 5);
    Line(4, 1, kLineContinuation, "");
    Line(4, 2, kLineContinuation, "");
    DeriveContinuationLengths(t);
    EXPECT_EQ(t.form(4).maxLength[1], 246);  // 5 - 15 in a byte
    EXPECT_EQ(t.form(4).maxLength[2], 231);
}

TEST_F(Forms, PrepareFindsTheLastInputLineAndEmptiesUnusedPrompts) {
    FormRecord& f = t.form(2);
    const int types[8] = {6, 1, 0, 4, 7, 8, 0, 0};
    for (int i = 0; i < 8; ++i) {
        Line(2, i, types[i], "P" + std::to_string(i));
        f.lookupField[i] = 1;
    }
    DeriveTemplateFields(t);
    EXPECT_EQ(f.lastInputLine, 4);
    EXPECT_EQ(FieldText(f.prompt[2]), "");
    EXPECT_EQ(FieldText(f.prompt[5]), "");
    EXPECT_EQ(FieldText(f.prompt[4]), "P4");
    EXPECT_EQ(f.lookupField[5], 0);
    EXPECT_EQ(f.lookupField[4], 1);
    EXPECT_EQ(t.form(3).lastInputLine, 0);
}

TEST_F(Forms, AFormWithoutInputLinesCompletesOnEnter) {
    Option(1, 0, "SHOW", FormTarget(5));
    t.startPosition = 1;
    Line(5, 0, kLinePromptOnly, "HELLO");
    t.form(5).nextTarget = 0;
    Run1();
    Keys({kKeyDigit1});
    EXPECT_EQ(Row(0), "HELLO");
    Digits("1");
    EXPECT_EQ(State(), SimState::MessageScreen);
    Keys({kKeyEsc, kKeyEnter});
    EXPECT_EQ(State(), SimState::MainMenu);
    EXPECT_EQ(Run().collectedCount, 1);
}

}  // namespace
}  // namespace k52::test
