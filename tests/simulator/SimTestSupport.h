// What the simulator tests share: a view that records what the engine asks for, and a terminal on a
// blank template with the clock fixed at 6 March 2024, 09:05.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "simulator/Keypad.h"
#include "simulator/TerminalSimulator.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52::test {

class RecordingView : public SimView {
  public:
    std::vector<SimRect> rects;
    std::vector<std::string> events;
    std::vector<std::string> statusLines;
    std::vector<std::string> letters;  // "row,col,letter"
    std::vector<int> alphaDraws;       // 1 on, 0 off
    std::vector<int> keyDraws;         // +key pressed, -key released
    std::string boxText, boxTitle;
    MessageIcon boxIcon = MessageIcon::None;

    void InvalidateRect(const SimRect& r) override { rects.push_back(r); }
    void ShowMessageBox(std::string_view text, std::string_view title, MessageIcon icon) override {
        events.push_back("warning");
        boxText = text;
        boxTitle = title;
        boxIcon = icon;
    }
    void PostCommand(int id) override { events.push_back("command:" + std::to_string(id)); }
    void DrawPendingLetter(int row, int col, char letter) override {
        letters.push_back(std::to_string(row) + "," + std::to_string(col) + "," + letter);
    }
    void ReleaseKeyPress() override { events.push_back("release"); }
    void DrawStatusLine(std::string_view text) override { statusLines.emplace_back(text); }
    void DrawAlphaIndicator(bool on) override { alphaDraws.push_back(on ? 1 : 0); }
    void DrawKey(int key, bool pressed) override { keyDraws.push_back(pressed ? key : -key); }
    void OpenCommandMenu(int x, int y) override {
        events.push_back("menu@" + std::to_string(x) + "," + std::to_string(y));
    }
};

// Writes a text (bytes as given) into a fixed-width field, NUL-padded.
template <std::size_t N>
void Put(u8 (&field)[N], const std::string& bytes) {
    for (std::size_t i = 0; i < N; ++i) field[i] = i < bytes.size() ? static_cast<u8>(bytes[i]) : 0;
}

class SimTest : public ::testing::Test {
  protected:
    ApplicationTemplate t = StartupTemplate();
    FixedLocalClock clock{{2024, 3, 6, 9, 5, 0}};
    RecordingView view;
    TerminalSimulator sim{t, clock, &view};
    KeypadController keypad{sim, view};

    void SetUp() override { sim.Start(); }

    // Presses and releases each key in turn.
    void Keys(std::initializer_list<int> keys) {
        for (int k : keys) {
            keypad.Press(k);
            keypad.Release();
        }
    }
    // Types digits with the digit keys.
    void Digits(const std::string& digits) {
        for (char c : digits) Keys({c == '.' ? kKeyPoint : DigitKey(c - '0')});
    }
    void Ticks(int n) {
        for (int i = 0; i < n; ++i) sim.Tick();
    }
    std::string Row(int r) const { return std::string(sim.screen().Row(r)); }
    SimState State() const { return sim.simState(); }
    int Highlight() const { return sim.engineState().highlightRow; }
    const RuntimeState& Run() const { return sim.runtimeState(); }
    std::string LineText(int line) const { return std::string(sim.runtimeState().lines[line].Text()); }

    // Form n gets line `line` of type `type` with an ASCII prompt.
    void Line(int n, int line, int type, const std::string& prompt, int maxLength = 50, int minLength = 0) {
        FormRecord& f = t.form(n);
        f.lineType[line] = static_cast<u8>(type);
        Put(f.prompt[line], prompt);
        f.maxLength[line] = static_cast<u8>(maxLength);
        f.minLength[line] = static_cast<u8>(minLength);
    }
    void Option(int m, int i, const std::string& text, int target) {
        Put(t.menu(m).options[i], text);
        t.menu(m).optionTargets[i] = static_cast<u8>(target);
    }
    // As the editor applies: normalise, derive, restart.
    void Apply() {
        NormaliseTemplate(t);
        sim.UpdateAfterEdit();
        sim.DispatchKey(kRestartCode);
    }
    // Main menu, "1. collect data".
    void Run1() { Keys({kKeyDigit1}); }
};

}  // namespace k52::test
