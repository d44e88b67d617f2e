#include "simulator/Simulator.h"

namespace k52 {

void PrepareTemplateDerivedFields(ApplicationTemplate&) {}
void DeriveContinuationLengths(ApplicationTemplate&) {}
void TerminalSimulator::GoToTarget(int, bool) {}
void TerminalSimulator::EnterMenu(int) {}
void TerminalSimulator::ShowMenu(int) {}
void TerminalSimulator::StartForm(int) {}
void TerminalSimulator::ShowForm(int) {}
void TerminalSimulator::MenuKey(int) {}
void TerminalSimulator::FormKey(int) {}
void TerminalSimulator::InsertChar(char) {}
void TerminalSimulator::Backspace() {}
void TerminalSimulator::TapLetter(int) {}
void TerminalSimulator::CommitPendingLetter() {}
int TerminalSimulator::PreviousInputLine(int cur) const {
    return cur;
}
int TerminalSimulator::NextInputLine(int cur) const {
    return cur;
}
bool TerminalSimulator::CheckCharType(char, int) {
    return false;
}
void TerminalSimulator::RepaintCursorRow() {}

}  // namespace k52
