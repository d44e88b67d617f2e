// Typing and backspace on one form line's entry: its text, cursor and scroll.
#include "simulator/LineEditor.h"

#include "template/Cp950.h"

namespace k52 {

std::string_view LineEntry::Text() const {
    return FieldText(text, sizeof text);
}

LineEdit LineEditor::Insert(char c) {
    const int p = e_.promptWidth;
    const int lastColumn = shape_.maxLength + p - 1;
    const int index = e_.column - p;
    if (index < 0 || index >= kMaxLineText) return LineEdit::None;
    e_.text[index] = static_cast<u8>(c);
    // What lay beyond the cursor (an initial value) gives way to what is typed.
    e_.text[index + 1] = 0;

    if (e_.column >= lastColumn) {
        // The last position: overwritten, the cursor stays.
    } else if (e_.column < shape_.rowLimit) {
        ++e_.column;
    } else if (shape_.continuedBelow) {
        return LineEdit::NextLine;
    } else {
        ++e_.column;
        ++e_.scroll;
    }
    return LineEdit::Redraw;
}

LineEdit LineEditor::Backspace() {
    const int p = e_.promptWidth;
    // A one-character field keeps its cursor on the character typed, so that character must be
    // removable even though the cursor never left the start of the line.
    const bool singleFull =
        e_.scroll == 0 && e_.column == p && e_.column >= p + shape_.maxLength - 1 && e_.text[0] != 0;
    if (e_.scroll > 0 || e_.column > p || singleFull) {
        int index = e_.column - p;
        const bool onCharacter = index >= 0 && index < kMaxLineText && e_.text[index] != 0;
        if (!onCharacter) {
            --e_.column;
            if (e_.scroll > 0) --e_.scroll;
            index = e_.column - p;
        }
        if (index >= 0 && index < kMaxLineText) e_.text[index] = 0;
        return LineEdit::Redraw;
    }
    return shape_.continuesAbove ? LineEdit::PreviousLine : LineEdit::None;
}

}  // namespace k52
