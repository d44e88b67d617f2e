#include "simulator/Keypad.h"

namespace k52 {

int KeyHitTest(int, int) {
    return 0;
}
KeyPoint KeyOrigin(int) {
    return {0, 0};
}
KeySize KeyImageSize(int) {
    return {0, 0};
}

KeypadController::KeypadController(TerminalSimulator& sim, SimView& view) : sim_(sim), view_(view) {
    sim_.SetView(this);
}
KeypadController::~KeypadController() {
    sim_.SetView(&view_);
}
void KeypadController::Press(int) {}
void KeypadController::Release() {}
void KeypadController::ReleaseKeyPress() {
    keyDown_ = false;
    view_.ReleaseKeyPress();
}

}  // namespace k52
