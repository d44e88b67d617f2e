// Typing and backspace on one form line's entry: its text, cursor and scroll.
#pragma once

#include <string_view>

#include "template/Template.h"

namespace k52 {

constexpr int kMaxLineText = 50;

// One form line being entered.
struct LineEntry {
    u8 text[kMaxLineText + 1] = {};
    int promptWidth = 0;  // bytes of the prompt shown, at most 20
    int column = 0;       // logical cursor column: promptWidth + index in text of the next character
    int scroll = 0;       // leading characters of text not shown

    std::string_view Text() const;
};

// What the form around a line says about it.
struct LineShape {
    int maxLength = 0;            // longest input the line takes, at most kMaxLineText
    int rowLimit = 0;             // last column the cursor reaches before the entry scrolls or continues
    bool continuedBelow = false;  // the next line continues this one
    bool continuesAbove = false;  // this line continues the one above
};

// What an edit asks of the form: nothing, a redraw of the line, or a move to a neighbouring line.
enum class LineEdit { None, Redraw, NextLine, PreviousLine };

class LineEditor {
  public:
    LineEditor(LineEntry& entry, const LineShape& shape) : e_(entry), shape_(shape) {}

    // Types `c` at the cursor. At the line's last position the character is overwritten and the cursor
    // stays; at the row's end the entry scrolls, or goes on below (NextLine, `c` already stored).
    LineEdit Insert(char c);
    // Erases the character under the cursor when there is one there (a full field, the end of a line
    // that continues below), else the one before it; PreviousLine when there is nothing left to erase
    // on a line that continues the one above.
    LineEdit Backspace();

  private:
    LineEntry& e_;
    LineShape shape_;
};

}  // namespace k52
