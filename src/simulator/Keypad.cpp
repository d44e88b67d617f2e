// The keypad's geometry: hit tests, key origins and image sizes.
#include "simulator/Keypad.h"

namespace k52 {

// Upper block: 3 columns by 4 rows of 32x20 keys; lower block: 4 columns by 2 rows of 23x15 keys.
int KeyHitTest(int x, int y) {
    if (y >= 236 && y <= 336) {
        if (x < 31 || x > 151) return 0;
        if ((x - 30) % 45 >= 31 || (y - 235) % 28 >= 19) return 0;
        return 1 + (x - 30) / 45 + 3 * ((y - 235) / 28);
    }
    if (y >= 348 && y <= 382 && x >= 33 && x <= 147) {
        if ((x - 33) % 31 >= 22 || (y - 347) % 23 >= 14) return 0;
        return 13 + (x - 33) / 31 + 4 * ((y - 347) / 23);
    }
    return 0;
}

KeyPoint KeyOrigin(int key) {
    if (key >= 1 && key <= 12) return {30 + 45 * ((key - 1) % 3), 235 + 28 * ((key - 1) / 3)};
    if (key >= 13 && key <= 20) return {33 + 31 * ((key - 13) % 4), 347 + 23 * ((key - 13) / 4)};
    return {0, 0};
}

KeySize KeyImageSize(int key) {
    if (key >= 1 && key <= 12) return {32, 20};
    if (key >= 13 && key <= 20) return {23, 15};
    return {0, 0};
}

KeypadController::KeypadController(TerminalSimulator& sim, SimView& view) : sim_(sim), view_(view) {
    sim_.SetView(this);
}

KeypadController::~KeypadController() {
    sim_.SetView(&view_);
}

void KeypadController::Press(int key) {
    pressedKey_ = (key >= 1 && key <= kKeyCount) ? key : 0;
    keyDown_ = pressedKey_ != 0;
    if (!keyDown_) return;
    if (recorder_) recorder_->Key(key);
    if (key == kKeyAlpha && sim_.simState() == SimState::FormEntry) {
        bool on = !sim_.runtimeState().alphaMode;
        sim_.SetAlphaMode(on);
        view_.DrawAlphaIndicator(on);
    }
    view_.DrawKey(key, true);
    sim_.DispatchKey(key);
}

void KeypadController::Release() {
    int key = pressedKey_;
    if (key != 0) view_.DrawKey(key, false);
    keyDown_ = false;
    if (key == kKeyPower) {
        KeyPoint origin = KeyOrigin(key);
        view_.OpenCommandMenu(origin.x, origin.y);
    }
}

void KeypadController::Tick(int count) {
    if (recorder_) recorder_->Ticks(count);
    for (int i = 0; i < count; ++i) sim_.Tick();
}

void KeypadController::Restart() {
    if (recorder_) recorder_->Key(kRestartCode);
    sim_.UpdateAfterEdit();
    sim_.DispatchKey(kRestartCode);
}

void KeypadController::ReleaseKeyPress() {
    keyDown_ = false;
    view_.ReleaseKeyPress();
}

}  // namespace k52
