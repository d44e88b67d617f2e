// The keypad's geometry and the press-level handling that the desktop window and k52cli share.
#pragma once

#include "simulator/KeyScript.h"
#include "simulator/TerminalSimulator.h"

namespace k52 {

struct KeyPoint {
    int x, y;
    bool operator==(const KeyPoint&) const = default;
};
struct KeySize {
    int width, height;
    bool operator==(const KeySize&) const = default;
};

// The key under client point (x, y), 1..20, or 0 for none (a press there starts a drag).
int KeyHitTest(int x, int y);
// Top-left corner of key 1..20's image; {0, 0} for another number.
KeyPoint KeyOrigin(int key);
// Size of key 1..20's image (one pixel larger than its hit area); {0, 0} for another number.
KeySize KeyImageSize(int key);
constexpr int KeyReleasedImageId(int key) {
    return 500 + key;
}
constexpr int KeyPressedImageId(int key) {
    return 520 + key;
}

// The other images and where they go.
constexpr int kCaseImageId = 500;        // 180x400 at 0,0
constexpr int kCursorImageId = 541;      // 6x10 at the cursor cell
constexpr int kHighlightImageId = 542;   // 120x10 at 26, 53 + 10*row
constexpr int kAlphaOnImageId = 543;     // 8x10 at 146,114
constexpr int kAlphaOffImageId = 544;    // 8x10 at 146,114
constexpr int kStatusBackImageId = 545;  // 127x10 at 26,122
constexpr KeyPoint kAlphaIndicatorPos{146, 114};
constexpr KeyPoint kStatusLinePos{26, 122};
constexpr KeyPoint kDisplayTextOrigin{26, 52};  // row r at y + 10r, a column is 6 pixels
constexpr int kCellWidth = 6;
constexpr int kCellHeight = 10;

// Button presses on the painted keys. It attaches itself as the engine's view and passes everything on
// to `view`, so that a press the engine interrupts (the nothing-to-run box) is forgotten here too.
// It gives the engine back `view` when it goes, so it must not outlive the engine.
class KeypadController final : private SimView {
  public:
    KeypadController(TerminalSimulator& sim, SimView& view);
    ~KeypadController() override;
    KeypadController(const KeypadController&) = delete;
    KeypadController& operator=(const KeypadController&) = delete;

    // The left button went down on `key` (0: not on a key, nothing happens here). The alpha key flips
    // alpha mode while a form takes input; the key is drawn pressed and dispatched.
    void Press(int key);
    // The left button came up: the pressed key is drawn released; the power key opens the command
    // menu at its origin.
    void Release();
    // The 100 ms clock, through here so that a recording sees the ticks between the keys.
    void Tick(int count = 1);
    // The editor applied changes: recompute from the template and restart at the main menu.
    void Restart();

    // Every key pressed and tick given from now on is written to `recorder` (nullptr: none).
    void SetRecorder(KeyScriptRecorder* recorder) { recorder_ = recorder; }
    KeyScriptRecorder* recorder() const { return recorder_; }

    int pressedKey() const { return pressedKey_; }
    bool keyDown() const { return keyDown_; }

  private:
    void InvalidateRect(const SimRect& r) override { view_.InvalidateRect(r); }
    void ShowMessageBox(std::string_view text, std::string_view title, MessageIcon icon) override {
        view_.ShowMessageBox(text, title, icon);
    }
    void PostCommand(int id) override { view_.PostCommand(id); }
    void DrawPendingLetter(int row, int col, char letter) override {
        view_.DrawPendingLetter(row, col, letter);
    }
    void ReleaseKeyPress() override;
    void DrawStatusLine(std::string_view text) override { view_.DrawStatusLine(text); }
    void DrawAlphaIndicator(bool on) override { view_.DrawAlphaIndicator(on); }
    void DrawKey(int key, bool pressed) override { view_.DrawKey(key, pressed); }
    void OpenCommandMenu(int x, int y) override { view_.OpenCommandMenu(x, y); }

    TerminalSimulator& sim_;
    SimView& view_;
    KeyScriptRecorder* recorder_ = nullptr;
    int pressedKey_ = 0;
    bool keyDown_ = false;
};

}  // namespace k52
