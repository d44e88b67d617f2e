// Typing into one form line: where the cursor goes, what is kept, when the form must change lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "simulator/LineEditor.h"

namespace k52 {
namespace {

LineEntry Entry(int promptWidth, const char* text = "") {
    LineEntry e;
    e.promptWidth = promptWidth;
    e.column = promptWidth;
    std::memcpy(e.text, text, std::strlen(text));
    return e;
}

LineShape Shape(int maxLength, int rowLimit = 19, bool continuedBelow = false, bool continuesAbove = false) {
    return {maxLength, rowLimit, continuedBelow, continuesAbove};
}

std::string Type(LineEntry& e, const LineShape& shape, const std::string& keys) {
    for (char c : keys) {
        LineEditor editor(e, shape);
        if (c == '<')
            editor.Backspace();
        else
            editor.Insert(c);
    }
    return std::string(e.Text());
}

TEST(LineEditor, TypingAndBackspaceByHand) {
    const std::string sixty(60, 'q');
    struct Case {
        const char* name;
        int prompt, maxLength;
        const char* initial;
        const char* keys;  // '<' is backspace
        const char* text;
        int column, scroll;
    } cases[] = {
        {"typed characters follow the prompt", 3, 5, "", "ab", "ab", 5, 0},
        {"the last position is overwritten", 3, 5, "", "abcdefg", "abcdg", 7, 0},
        {"a full field loses the character under the cursor", 3, 5, "", "abcde<", "abcd", 7, 0},
        {"then the one before it", 3, 5, "", "abcde<<", "abc", 6, 0},
        {"backspace at the start does nothing", 3, 5, "", "<<a<<", "", 3, 0},
        {"an initial value gives way to what is typed", 0, 10, "12345", "x", "x", 1, 0},
        {"a one-character field can be emptied", 4, 1, "", "z<", "", 4, 0},
        {"a one-character field overwrites", 4, 1, "", "yz", "z", 4, 0},
        {"past the row's end the entry scrolls", 0, 30, "", "abcdefghijklmnopqrstu", "abcdefghijklmnopqrstu",
         21, 2},
        {"and backspace scrolls back", 0, 30, "", "abcdefghijklmnopqrstu<", "abcdefghijklmnopqrst", 20, 1},
        {"the line buffer bounds a field a file makes too long", 0, 50, "", sixty.c_str(),
         "qqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqq", 49, 30},
    };
    for (const Case& c : cases) {
        LineEntry e = Entry(c.prompt, c.initial);
        const std::string text = Type(e, Shape(c.maxLength), c.keys);
        EXPECT_EQ(text, c.text) << c.name;
        EXPECT_EQ(e.column, c.column) << c.name;
        EXPECT_EQ(e.scroll, c.scroll) << c.name;
        EXPECT_EQ(e.text[kMaxLineText], 0) << c.name;
    }
}

TEST(LineEditor, AnEntryGoesOnBelowAndComesBackAbove) {
    LineEntry first = Entry(15);
    LineShape shape = Shape(20, 19, /*continuedBelow=*/true);
    LineEditor editor(first, shape);
    for (char c : std::string("abcd")) ASSERT_EQ(editor.Insert(c), LineEdit::Redraw);
    EXPECT_EQ(first.column, 19);
    EXPECT_EQ(editor.Insert('e'), LineEdit::NextLine);
    EXPECT_EQ(first.Text(), "abcde") << "the character is stored before the move";
    EXPECT_EQ(first.column, 19);
    EXPECT_EQ(editor.Backspace(), LineEdit::Redraw);
    EXPECT_EQ(first.Text(), "abcd") << "the character under the cursor goes first";

    LineEntry below = Entry(0);
    LineEditor continuation(below, Shape(16, 19, false, /*continuesAbove=*/true));
    EXPECT_EQ(continuation.Backspace(), LineEdit::PreviousLine);
    LineEntry alone = Entry(0);
    EXPECT_EQ(LineEditor(alone, Shape(16)).Backspace(), LineEdit::None);
}

TEST(LineEditor, ACursorOutsideTheBufferChangesNothing) {
    for (int column : {-1, 50, 70}) {
        LineEntry e = Entry(0, "abc");
        e.column = column;
        EXPECT_EQ(LineEditor(e, Shape(80)).Insert('x'), LineEdit::None) << column;
        EXPECT_EQ(e.Text(), "abc");
    }
}

}  // namespace
}  // namespace k52
