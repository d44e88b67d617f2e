// The application runtime: the template's menus and forms on the simulated display.
#include <algorithm>
#include <cstring>

#include "simulator/TerminalSimulator.h"
#include "template/Cp950.h"
#include "template/Defaults.h"

namespace k52 {
namespace {

constexpr int kRowLimitWide = 19;
constexpr int kRowLimitNarrow = 14;

int PromptWidth(const FormRecord& f, int line) {
    return static_cast<int>(std::min<std::size_t>(FieldText(f.prompt[line]).size(), kSimColumns));
}

// Longest input a line can hold: the line buffer bounds what a file may claim.
int MaxLength(const FormRecord& f, int line) {
    return std::min<int>(f.maxLength[line], kMaxLineText);
}

int TextLength(const LineEntry& e) {
    return static_cast<int>(e.Text().size());
}

}  // namespace

void DeriveContinuationLengths(ApplicationTemplate& t) {
    for (FormRecord& f : t.forms) {
        for (int i = 0; i < 4; ++i) {
            if (IsInputLineType(f.lineType[i]) && f.lineType[i + 1] == kLineContinuation) {
                // Byte arithmetic, as the stored field holds it.
                u8 v = static_cast<u8>(f.maxLength[i] + PromptWidth(f, i) - 15);
                f.maxLength[i + 1] = v;
                if (f.lineType[i + 2] == kLineContinuation) {
                    f.maxLength[i + 2] = static_cast<u8>(v - 15);
                    if (f.lineType[i + 3] == kLineContinuation) f.maxLength[i + 3] = static_cast<u8>(v - 30);
                }
            }
            if (f.lineType[i] == kLineContinuation) {
                f.lookupField[i] = 0;
                f.hasInitialValue[i] = 0;
                f.hasPrefix[i] = 0;
                f.hasSuffix[i] = 0;
            }
        }
    }
}

FormRecord* TerminalSimulator::ActiveForm() {
    if (eng_.activeTarget < 1 || eng_.activeTarget > kFormCount) return nullptr;
    return &t_.form(eng_.activeTarget);
}

int TerminalSimulator::CurrentLine() {
    FormRecord* f = ActiveForm();
    if (!f) return 0;
    // The record may have been overwritten (a file opened) while the form was shown.
    if (f->currentLine >= kLinesPerForm) f->currentLine = 0;
    return f->currentLine;
}

int TerminalSimulator::LastInputLine(const FormRecord& f) const {
    return std::min<int>(f.lastInputLine, kLinesPerForm);
}

void TerminalSimulator::RepaintCursorRow() {
    Invalidate(DisplayRowRect(run_.cursorRow));
}

// ---- Targets and menus

void TerminalSimulator::GoToTarget(int code, bool byEsc) {
    if (code >= 1 && code <= kFormCount) {
        StartForm(code);
    } else if (code > kFormCount && code <= kFormCount + kMenuCount) {
        if (byEsc)
            ShowMenu(code);
        else
            EnterMenu(code);
    } else {
        // The main menu, and any code a file holds beyond the list.
        eng_.highlightRow = 1;
        ShowMainMenu(true);
    }
}

void TerminalSimulator::EnterMenu(int code) {
    if (code <= kFormCount || code > kFormCount + kMenuCount) return GoToTarget(0, false);
    MenuRecord& m = t_.menu(code - kFormCount);
    m.currentOption = 0;
    m.menuRunSpare = 0;
    run_.menuTop = 0;
    ShowMenu(code);
}

void TerminalSimulator::ShowMenu(int code) {
    if (code <= kFormCount || code > kFormCount + kMenuCount) return GoToTarget(0, false);
    MenuRecord& m = t_.menu(code - kFormCount);
    if (eng_.simState != SimState::AppMenu || eng_.activeTarget != code) run_.menuTop = 0;
    eng_.activeTarget = code;
    eng_.simState = SimState::AppMenu;

    int count = std::min<int>(m.optionCount, kOptionsPerMenu);
    if (m.currentOption >= count) m.currentOption = 0;
    int current = m.currentOption;
    int firstRow = m.showTitle ? 1 : 0;
    int visible = kSimRows - firstRow;
    // More options than rows: the list scrolls so that the highlighted option stays in view.
    int& top = run_.menuTop;
    top = std::clamp(top, 0, std::max(0, count - visible));
    if (current < top) top = current;
    if (current >= top + visible) top = current - visible + 1;

    if (m.showTitle) SetRow(0, FieldText(m.title));
    for (int r = firstRow; r < kSimRows; ++r) {
        int option = top + r - firstRow;
        SetRow(r, option < count ? FieldText(m.options[option]) : std::string_view());
    }
    eng_.highlightRow = current - top + firstRow + 1;
    Invalidate(WholeDisplayRect());
}

void TerminalSimulator::MenuKey(int key) {
    int code = eng_.activeTarget;
    if (code <= kFormCount || code > kFormCount + kMenuCount) return;
    MenuRecord& m = t_.menu(code - kFormCount);
    int count = std::min<int>(m.optionCount, kOptionsPerMenu);
    int current = std::min<int>(m.currentOption, kOptionsPerMenu - 1);
    int digit = KeyDigit(key);
    if (digit >= 1 && digit <= 9) {
        int option = digit - 1;
        if (option >= count) return;
        m.currentOption = static_cast<u8>(option);
        GoToTarget(m.optionTargets[option], false);
        return;
    }
    switch (key) {
        case kKeyEnter:
            GoToTarget(m.optionTargets[current], false);
            break;
        case kKeyUp:
            if (current >= 1) {
                m.currentOption = static_cast<u8>(current - 1);
                ShowMenu(code);
            }
            break;
        case kKeyDown:
            if (current < count - 1) {
                m.currentOption = static_cast<u8>(current + 1);
                ShowMenu(code);
            }
            break;
        case kKeyEsc:
            GoToTarget(m.escapeTarget, true);
            break;
        default:
            break;
    }
}

// ---- Forms

void TerminalSimulator::StartForm(int n) {
    if (n < 1 || n > kFormCount) return GoToTarget(0, false);
    FormRecord& f = t_.form(n);
    for (int i = 0; i < kLinesPerForm; ++i) {
        LineEntry& e = run_.lines[i];
        e = LineEntry{};
        e.promptWidth = PromptWidth(f, i);
        e.column = e.promptWidth;
        if (f.hasInitialValue[i]) {
            std::string_view value = FieldText(f.initialValue[i]);
            if (!value.empty()) std::memcpy(e.text, value.data(), value.size());
        }
    }
    eng_.activeTarget = n;
    f.currentLine = 0;
    if (!IsInputLineType(f.lineType[0])) f.currentLine = static_cast<u8>(NextInputLine(0));
    eng_.highlightRow = 0;
    ShowForm(n);
}

void TerminalSimulator::BuildFormRow(int line) {
    const FormRecord& f = t_.form(eng_.activeTarget);
    const LineEntry& e = run_.lines[line];
    std::string row(FieldText(f.prompt[line]).substr(0, static_cast<std::size_t>(e.promptWidth)));
    std::string_view text = e.Text();
    if (e.scroll >= 0 && static_cast<std::size_t>(e.scroll) < text.size())
        row += text.substr(static_cast<std::size_t>(e.scroll));
    // Beyond 20 columns the row is cut on the display; the line keeps its whole value.
    SetRow(line, row);
}

void TerminalSimulator::ShowForm(int n) {
    if (n < 1 || n > kFormCount) return GoToTarget(0, false);
    eng_.activeTarget = n;
    eng_.simState = SimState::FormEntry;
    const FormRecord& f = t_.form(n);
    int last = LastInputLine(f);
    for (int i = 0; i < kSimRows; ++i) {
        if (i < last)
            BuildFormRow(i);
        else
            SetRow(i, f.lineType[i] != kLineNone ? FieldText(f.prompt[i]) : std::string_view());
    }
    int cur = CurrentLine();
    run_.cursorRow = cur;
    run_.cursorCol = run_.lines[cur].column - run_.lines[cur].scroll;
    Invalidate(WholeDisplayRect());
}

void TerminalSimulator::FormKey(int key) {
    FormRecord* f = ActiveForm();
    if (!f) return;
    int cur = CurrentLine();
    if (key >= kKeyDigit7 && key <= kKeyPoint) {
        if (run_.alphaMode)
            TapLetter(key);
        else
            InsertChar(key == kKeyPoint ? '.' : static_cast<char>('0' + KeyDigit(key)));
        return;
    }
    switch (key) {
        case kKeySpace:
            InsertChar(' ');
            break;
        case kKeyBackspace:
            Backspace();
            break;
        case kKeyUp:
            if (cur >= 1) {
                int previous = PreviousInputLine(cur);
                if (previous != cur) {
                    f->currentLine = static_cast<u8>(previous);
                    ShowForm(eng_.activeTarget);
                }
            }
            break;
        case kKeyEnter:
            if (TextLength(run_.lines[cur]) < f->minLength[cur]) {
                ShowMessage(2);
            } else if (cur < LastInputLine(*f) - 1) {
                int next = NextInputLine(cur);
                if (next != cur) {
                    f->currentLine = static_cast<u8>(next);
                    ShowForm(eng_.activeTarget);
                }
            } else {
                ++run_.collectedCount;
                GoToTarget(f->nextTarget, false);
            }
            break;
        case kKeyEsc:
            GoToTarget(f->escapeTarget, true);
            break;
        default:
            break;
    }
}

bool TerminalSimulator::CheckCharType(char c, int lineType) {
    switch (lineType) {
        case kLineString:
        case kLineContinuation:
            return true;
        case kLineNumeric:
            return c >= '0' && c <= '9';
        case kLineReal:
            return (c >= '0' && c <= '9') || c == '.';
        case kLineAlpha:
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        default:
            return false;
    }
}

LineEditor TerminalSimulator::EditorOfLine(FormRecord& f, int line) {
    LineShape shape;
    shape.maxLength = MaxLength(f, line);
    shape.rowLimit = f.narrowRows ? kRowLimitNarrow : kRowLimitWide;
    shape.continuedBelow = line + 1 < kLinesPerForm && f.lineType[line + 1] == kLineContinuation;
    shape.continuesAbove = line >= 1 && f.lineType[line] == kLineContinuation;
    return LineEditor(run_.lines[line], shape);
}

void TerminalSimulator::ApplyLineEdit(FormRecord& f, int line, LineEdit edit) {
    switch (edit) {
        case LineEdit::None:
            return;
        case LineEdit::Redraw:
            run_.cursorCol = run_.lines[line].column - run_.lines[line].scroll;
            BuildFormRow(line);
            RepaintCursorRow();
            return;
        case LineEdit::NextLine:
            f.currentLine = static_cast<u8>(line + 1);
            ShowForm(eng_.activeTarget);
            return;
        case LineEdit::PreviousLine:
            f.currentLine = static_cast<u8>(line - 1);
            ShowForm(eng_.activeTarget);
            return;
    }
}

void TerminalSimulator::InsertChar(char c) {
    FormRecord* f = ActiveForm();
    if (!f) return;
    const int cur = CurrentLine();
    if (!CheckCharType(c, f->lineType[cur])) {
        ShowMessage(1);
        return;
    }
    ApplyLineEdit(*f, cur, EditorOfLine(*f, cur).Insert(c));
}

void TerminalSimulator::Backspace() {
    FormRecord* f = ActiveForm();
    if (!f) return;
    const int cur = CurrentLine();
    ApplyLineEdit(*f, cur, EditorOfLine(*f, cur).Backspace());
}

int TerminalSimulator::PreviousInputLine(int cur) const {
    if (eng_.activeTarget < 1 || eng_.activeTarget > kFormCount || cur < 0 || cur >= kLinesPerForm)
        return cur;
    const FormRecord& f = t_.form(eng_.activeTarget);
    int head = cur;
    while (head > 0 && f.lineType[head] == kLineContinuation) --head;
    for (int i = head - 1; i >= 0; --i) {
        if (IsInputLineType(f.lineType[i])) return i;
        if (f.lineType[i] == kLineContinuation && run_.lines[i].text[0] != 0) return i;
    }
    return cur;
}

int TerminalSimulator::NextInputLine(int cur) const {
    if (eng_.activeTarget < 1 || eng_.activeTarget > kFormCount || cur < 0 || cur >= kLinesPerForm)
        return cur;
    const FormRecord& f = t_.form(eng_.activeTarget);
    if (cur >= LastInputLine(f) - 1) return cur;
    int k = cur + 1;
    while (k < kLinesPerForm && !IsInputLineType(f.lineType[k])) ++k;
    if (k >= kLinesPerForm) return cur;
    // Land where a wrapped entry ends.
    auto continued = [&](int line) {
        return line < kLinesPerForm && f.lineType[line] == kLineContinuation && run_.lines[line].text[0] != 0;
    };
    if (continued(k + 1)) {
        ++k;
        if (continued(k + 1)) ++k;
    }
    return k;
}

void TerminalSimulator::TapLetter(int key) {
    const char* group = KeyLetterGroup(key);
    if (!group) return;
    run_.tapTicks = 0;
    run_.tapPhase = run_.letterPending ? (run_.tapPhase + 1) % 3 : 0;
    run_.pendingLetter = group[run_.tapPhase];
    view_->DrawPendingLetter(run_.cursorRow, run_.cursorCol, run_.pendingLetter);
    run_.letterPending = true;
}

void TerminalSimulator::CommitPendingLetter() {
    run_.letterPending = false;
    if (eng_.simState == SimState::FormEntry) InsertChar(run_.pendingLetter);
}

}  // namespace k52
