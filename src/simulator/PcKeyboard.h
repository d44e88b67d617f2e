// The PC keyboard on the simulated terminal: a PC key becomes the terminal keys (and clock ticks) that
// type the same, pressed through the keypad as clicks are; a scan or a paste is such typing plus Enter.
#pragma once

#include <string_view>

#include "simulator/Keypad.h"

namespace k52 {

// What the desktop names a PC key: one printable ASCII character ("7", "b", "$", " "), or one of
// "Enter", "Backspace", "Up", "Down", "Esc", "Alpha" and "Fn".
enum class ScanOutcome {
    Entered,    // typed, and Enter pressed after it
    NotInForm,  // no form line takes input now: nothing was pressed
    Untypable,  // `character` is on no key: nothing was pressed
    Refused,    // the line refused a character: the terminal shows its message, the rest was not typed
};
struct ScanResult {
    ScanOutcome outcome = ScanOutcome::Entered;
    char character = 0;  // the one no key types
};

// A wedge scanner types faster than this between characters; a person does not.
constexpr long long kScanBurstGapMs = 35;

class PcKeyboard {
  public:
    PcKeyboard(TerminalSimulator& sim, KeypadController& keypad) : sim_(sim), keypad_(keypad) {}

    // A PC key went down, or repeats, at `timeMs` (the event's time on any steady millisecond clock).
    // The terminal keys it means are pressed, the last one left down until Release(). Within a burst
    // (a scanner typing) a refused character keeps its message on screen: the rest of the burst, up to
    // its Enter, is dropped. False when the key means nothing to the terminal.
    bool Press(std::string_view name, long long timeMs);
    void Release();
    // `text` into the current form line as one scan, then Enter.
    ScanResult Scan(std::string_view text);

  private:
    // False when typing stopped: the terminal left the form line (its message came up).
    bool Type(char c);
    bool Tap(int key);
    // Lets the clock enter a pending letter; false when the line refused it.
    bool CommitPending();

    TerminalSimulator& sim_;
    KeypadController& keypad_;
    bool held_ = false;
    bool haveLast_ = false;
    long long lastMs_ = 0;
    bool dropBurst_ = false;
};

// The key that types `c` and how many taps of it in alpha mode (0: a plain press without alpha mode);
// key 0 when no key types it. Lower-case letters type as their capitals.
struct TypingKey {
    int key = 0;
    int taps = 0;
};
TypingKey TypingKeyOf(char c);

// The keyboard's keys in a few lines, for the window's help (UTF-8, in the user's language).
std::string PcKeyboardHelp();

}  // namespace k52
