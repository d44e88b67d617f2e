// The PC keyboard's keys as terminal keys, with multi-tap letters, scans and wedge bursts.
#include "simulator/PcKeyboard.h"

#include <cstring>
#include <string>

#include "i18n/Translate.h"

namespace k52 {
namespace {

// A pending letter is entered by the clock on its seventh tick; a few more never hurt.
constexpr int kCommitTickLimit = 10;

int NamedKey(std::string_view name) {
    static const struct {
        const char* name;
        int key;
    } kNamed[] = {{"Enter", kKeyEnter}, {"Backspace", kKeyBackspace}, {"Up", kKeyUp},      {"Down", kKeyDown},
                  {"Esc", kKeyEsc},     {"Alpha", kKeyAlpha},         {"Fn", kKeyFunction}};
    for (const auto& n : kNamed)
        if (name == n.name) return n.key;
    return 0;
}

}  // namespace

TypingKey TypingKeyOf(char c) {
    if (c >= '0' && c <= '9') return {DigitKey(c - '0'), 0};
    if (c == '.') return {kKeyPoint, 0};
    if (c == ' ') return {kKeySpace, 0};
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (int key = kKeyDigit7; key <= kKeyPoint; ++key) {
        const char* group = KeyLetterGroup(key);
        if (const char* at = c ? std::strchr(group, c) : nullptr)
            return {key, static_cast<int>(at - group) + 1};
    }
    return {};
}

bool PcKeyboard::Tap(int key) {
    if (held_) keypad_.Release();
    keypad_.Press(key);
    held_ = keypad_.keyDown();
    return sim_.simState() == SimState::FormEntry;
}

bool PcKeyboard::CommitPending() {
    for (int i = 0; i < kCommitTickLimit && sim_.runtimeState().letterPending; ++i) keypad_.Tick();
    return sim_.simState() == SimState::FormEntry;
}

bool PcKeyboard::Type(char c) {
    const TypingKey k = TypingKeyOf(c);
    if (k.taps == 0) {
        // Digits and the point need alpha mode off; the space types in either.
        if (k.key != kKeySpace && sim_.runtimeState().alphaMode && !Tap(kKeyAlpha)) return false;
        return Tap(k.key);
    }
    if (!sim_.runtimeState().alphaMode && !Tap(kKeyAlpha)) return false;
    // Another letter of the same key would cycle the pending one: the clock enters that first.
    if (sim_.engineState().lastKey == k.key && !CommitPending()) return false;
    for (int i = 0; i < k.taps; ++i)
        if (!Tap(k.key)) return false;
    return true;
}

bool PcKeyboard::Press(std::string_view name, long long timeMs) {
    const bool inBurst = haveLast_ && timeMs >= lastMs_ && timeMs - lastMs_ <= kScanBurstGapMs;
    haveLast_ = true;
    lastMs_ = timeMs;
    if (dropBurst_) {
        dropBurst_ = inBurst && name != "Enter";
        if (inBurst) return true;
    }
    const bool inForm = sim_.simState() == SimState::FormEntry;
    int key = NamedKey(name);
    if (key == 0 && name.size() == 1) {
        const TypingKey k = TypingKeyOf(name[0]);
        if (k.key == 0) return false;
        if (inForm) {
            if (!Type(name[0])) dropBurst_ = true;
            return true;
        }
        // Off a form line only the keys themselves count: a letter means something only as the key
        // that dismisses a message.
        if (k.taps != 0 && sim_.simState() != SimState::MessageScreen) return false;
        key = k.key;
    }
    if (key == 0) return false;
    Tap(key);
    return true;
}

void PcKeyboard::Release() {
    if (held_) keypad_.Release();
    held_ = false;
}

ScanResult PcKeyboard::Scan(std::string_view text) {
    if (sim_.simState() != SimState::FormEntry) return {ScanOutcome::NotInForm, 0};
    for (char c : text)
        if (TypingKeyOf(c).key == 0) return {ScanOutcome::Untypable, c};
    // The last letter is let to enter by the clock, so that its refusal is told as the refusal it is.
    bool typed = true;
    for (char c : text)
        if (!(typed = Type(c))) break;
    if (typed && !CommitPending()) typed = false;
    if (!typed) {
        Release();
        return {ScanOutcome::Refused, 0};
    }
    Tap(kKeyEnter);
    Release();
    return {ScanOutcome::Entered, 0};
}

std::string PcKeyboardHelp() {
    return std::string(Translate("PcKeyboard", K52_TR("PcKeyboard",
                                                      "鍵盤操作:\n"
                                                      "0-9 . Enter Backspace 空白鍵\n"
                                                      "上 下 Esc: 終端機的同名按鍵\n"
                                                      "Tab: Alpha   F2: FN\n"
                                                      "A-Z - * + $ / % : 依多次按鍵輸入\n"
                                                      "條碼掃瞄器, Ctrl+V, Ctrl+B: 掃瞄\n"
                                                      "F1: 顯示或隱藏本說明")));
}

}  // namespace k52
