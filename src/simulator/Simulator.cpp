#include "simulator/Simulator.h"

namespace k52 {

const char kNothingToRunText[] = "請定義您的應用程式!!";
const char kNothingToRunTitle[] = "沒有可執行之程式";

int KeyDigit(int) {
    return -1;
}
int DigitKey(int) {
    return 0;
}
const char* KeyLetterGroup(int) {
    return nullptr;
}
std::string_view SimScreen::Row(int) const {
    return {};
}
const char* SimStateName(SimState) {
    return "";
}
SimRect WholeDisplayRect() {
    return {25, 52, 154, 133};
}
SimRect TopFiveRowsRect() {
    return {25, 52, 154, 103};
}
SimRect DisplayRowRect(int r) {
    return {25, 52 + 10 * r, 154, 62 + 10 * r};
}
std::string_view LineEntry::Text() const {
    return {};
}

namespace {
NullSimView gNullView;
}

TerminalSimulator::TerminalSimulator(ApplicationTemplate& t, LocalClock& clock, SimView* view)
    : t_(t), clock_(clock), view_(view ? view : &gNullView) {}
void TerminalSimulator::SetView(SimView* view) {
    view_ = view ? view : &gNullView;
}
void TerminalSimulator::Start() {}
void TerminalSimulator::DispatchKey(int) {}
void TerminalSimulator::UpdateAfterEdit() {}
void TerminalSimulator::Tick() {}
std::string TerminalSimulator::StatusText() const {
    return {};
}
void TerminalSimulator::ShowMainMenu(bool) {}
void TerminalSimulator::ShowSystemTools() {}
void TerminalSimulator::ShowSystemSettings() {}
void TerminalSimulator::ShowUploadWait() {}
void TerminalSimulator::ShowMessage(int) {}

}  // namespace k52
