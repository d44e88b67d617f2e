// The PC keyboard on the terminal: each PC key as the terminal keys it presses (letters by multi-tap, in
// a letter line and in a digit line), scans and wedge bursts, and a recorded session replayed.
#include "SimTestSupport.h"
#include "simulator/KeyScript.h"
#include "simulator/PcKeyboard.h"
#include "simulator/ScreenCheck.h"

namespace k52::test {
namespace {

class Keyboard : public SimTest {
  protected:
    KeyScriptRecorder pressed;
    PcKeyboard pc{sim, keypad};
    long long now = 0;

    // Form 1: a string line, a numeric line and an alphabetic line; the form is running on line `line`.
    void StartForm(int line) {
        keypad.SetRecorder(nullptr);
        pressed = {};
        sim.ResetRun();
        Line(1, 0, kLineString, "S:");
        Line(1, 1, kLineNumeric, "N:");
        Line(1, 2, kLineAlpha, "A:");
        Apply();
        Run1();
        for (int i = 0; i < line; ++i) Keys({kKeyEnter});
        keypad.SetRecorder(&pressed);
        view.keyDraws.clear();
    }
    int CurrentLineOf() const { return t.form(1).currentLine; }
    // PC keys a person types, a second apart; a name in braces is a named key ("{Enter}").
    bool Type(const std::string& keys, long long gapMs = 1000) {
        bool meant = true;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            std::string name(1, keys[i]);
            if (keys[i] == '{') {
                const std::size_t end = keys.find('}', i);
                name = keys.substr(i + 1, end - i - 1);
                i = end;
            }
            meant = pc.Press(name, now += gapMs) && meant;
            pc.Release();
        }
        return meant;
    }
};

TEST_F(Keyboard, EachPcKeyPressesTheTerminalKeysThatTypeTheSame) {
    struct Case {
        int line;  // 0 string, 1 numeric, 2 alphabetic; -1 the main menu
        const char* typed;
        const char* keys;  // as a key script
        const char* text;  // the line's text once the clock entered what was pending
        SimState state;
    } cases[] = {
        {0, "7", "1", "7", SimState::FormEntry},
        {0, "B", "17 1 1", "B", SimState::FormEntry},
        {0, "b", "17 1 1", "B", SimState::FormEntry},
        {0, "AB", "17 1 t7 1 1", "AB", SimState::FormEntry},  // same key: the clock enters A first
        {0, "AD", "17 1 2", "AD", SimState::FormEntry},
        {0, "A7", "17 1 17 1", "A7", SimState::FormEntry},  // alpha off for the digit
        {0, "Z*", "17 9 9 t7 9 9 9", "Z*", SimState::FormEntry},
        {0, "+$/", "17 10 t7 10 10 t7 10 10 10", "+$/", SimState::FormEntry},
        {0, "-%:", "17 11 t7 11 11 t7 11 11 11", "-%:", SimState::FormEntry},
        {0, "1.5 0", "7 11 5 14 10", "1.5 0", SimState::FormEntry},
        {0, "A B", "17 1 14 1 1", "A B", SimState::FormEntry},  // the space types in alpha mode
        {0, "#~", "", "", SimState::FormEntry},                 // on no key: nothing
        {0, "{Tab}{F9}", "", "", SimState::FormEntry},          // names the terminal has no key for
        {0, "{Alpha}{Fn}", "17 18", "", SimState::FormEntry},
        {1, "42", "4 8", "42", SimState::FormEntry},
        {1, "4A", "4 17 1", "4", SimState::MessageScreen},      // refused when the clock enters it
        {1, "4A5", "4 17 1 17", "4", SimState::MessageScreen},  // refused at the next key, which it eats
        {2, "K", "17 4 4", "K", SimState::FormEntry},
        {2, "7", "1", "", SimState::MessageScreen},
        {-1, "A", "", "", SimState::MainMenu},
        {-1, "{Down}{Down}{Up}", "16 16 15", "", SimState::MainMenu},
        {-1, "3", "9", "", SimState::SystemTools},
        {-1, "3{Esc}", "9 19", "", SimState::MainMenu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        if (c.line < 0) {
            StartForm(0);
            keypad.SetRecorder(nullptr);
            sim.DispatchKey(kRestartCode);
            keypad.SetRecorder(&pressed);
        } else {
            StartForm(c.line);
        }
        Type(c.typed);
        EXPECT_EQ(pressed.Text(), std::string(c.keys) + (*c.keys ? "\n" : ""));
        Ticks(10);
        EXPECT_EQ(State(), c.state);
        if (c.line >= 0) {
            EXPECT_EQ(LineText(c.line), c.text);
        }
    }
}

TEST_F(Keyboard, TheLastTerminalKeyStaysDownUntilThePcKeyComesUp) {
    StartForm(0);
    ASSERT_TRUE(pc.Press("C", 0));
    EXPECT_TRUE(keypad.keyDown());
    EXPECT_EQ(keypad.pressedKey(), kKeyDigit7);
    EXPECT_EQ(view.keyDraws, (std::vector<int>{kKeyAlpha, -kKeyAlpha, 1, -1, 1, -1, 1}));
    pc.Release();
    EXPECT_FALSE(keypad.keyDown());
    // A held key repeats as presses of its own.
    ASSERT_TRUE(pc.Press("9", 1000));
    ASSERT_TRUE(pc.Press("9", 1030));
    pc.Release();
    Ticks(10);
    EXPECT_EQ(LineText(0), "C99");
}

TEST_F(Keyboard, AScanOrAPasteEntersTheWholeBarcodeAndEnter) {
    StartForm(1);
    EXPECT_EQ(pc.Scan("4711234567890").outcome, ScanOutcome::Entered);
    EXPECT_EQ(LineText(1), "4711234567890");
    EXPECT_EQ(CurrentLineOf(), 2);

    // A line that refuses a character shows the terminal's message; the rest is not typed.
    StartForm(1);
    EXPECT_EQ(pc.Scan("47A1").outcome, ScanOutcome::Refused);
    EXPECT_EQ(State(), SimState::MessageScreen);
    Keys({kKeyEsc});
    EXPECT_EQ(LineText(1), "47");
    EXPECT_EQ(CurrentLineOf(), 1);
    // So is a letter at the very end, and Enter is not pressed after it.
    StartForm(1);
    EXPECT_EQ(pc.Scan("47A").outcome, ScanOutcome::Refused);
    EXPECT_EQ(State(), SimState::MessageScreen);

    // Letters of one key in a row wait for the clock as typing would.
    StartForm(0);
    EXPECT_EQ(pc.Scan("ABBA-1").outcome, ScanOutcome::Entered);
    EXPECT_EQ(LineText(0), "ABBA-1");

    // A character on no key refuses the scan before anything is pressed; off a form, nothing happens.
    StartForm(0);
    EXPECT_EQ(pc.Scan("AB#").outcome, ScanOutcome::Untypable);
    EXPECT_EQ(pc.Scan("AB#").character, '#');
    EXPECT_EQ(pressed.keyCount(), 0);
    sim.DispatchKey(kRestartCode);
    EXPECT_EQ(pc.Scan("12").outcome, ScanOutcome::NotInForm);
    EXPECT_EQ(State(), SimState::MainMenu);
}

TEST_F(Keyboard, AWedgeBurstIsTypedAndARefusalInItKeepsItsMessage) {
    StartForm(1);
    Type("4711234567890{Enter}", 8);
    EXPECT_EQ(LineText(1), "4711234567890");
    EXPECT_EQ(CurrentLineOf(), 2);

    // The burst's characters after a refused one, and its Enter, are dropped with the message up.
    StartForm(1);
    Type("12A45{Enter}", 8);
    EXPECT_EQ(State(), SimState::MessageScreen);
    // A person's key a while later dismisses it, and the line holds what came before the refusal.
    Type("{Esc}");
    EXPECT_EQ(State(), SimState::FormEntry);
    EXPECT_EQ(LineText(1), "12");
    EXPECT_EQ(CurrentLineOf(), 1);
}

TEST_F(Keyboard, ARecordedSessionReplaysToTheSameScreen) {
    StartForm(0);
    Type("HELLO 42{Enter}7{Enter}");
    keypad.Tick(3);
    Type("XY");
    keypad.Tick(12);
    Type("{Up}");
    const ScreenSnapshot recorded = TakeSnapshot(sim);

    // The recording began with the form on screen: the replay starts from there too.
    ApplicationTemplate t2 = t;
    TerminalSimulator replay(t2, clock);
    KeypadController keys(replay, view);
    replay.Start();
    replay.DispatchKey(kRestartCode);
    keys.Press(kKeyDigit1);
    keys.Release();
    const auto script = ParseKeyScript(pressed.Text());
    ASSERT_TRUE(script);
    for (const KeyStep& s : *script) {
        if (s.kind == KeyStep::Ticks) keys.Tick(s.value);
        if (s.kind == KeyStep::Key) {
            keys.Press(s.value);
            keys.Release();
        }
    }
    const ScreenSnapshot replayed = TakeSnapshot(replay);
    EXPECT_EQ(replayed.rows, recorded.rows);
    EXPECT_EQ(replayed.state, recorded.state);
    EXPECT_EQ(replayed.collectedCount, recorded.collectedCount);
    EXPECT_EQ(LineText(2), "XY");
}

}  // namespace
}  // namespace k52::test
