// The simulated display's contents and what the engine asks of whoever draws the terminal.
#pragma once

#include <string_view>

#include "app/UserInterface.h"
#include "template/Template.h"

namespace k52 {

// The display: 8 rows of up to 20 bytes of CP950 text and a NUL.
constexpr int kSimRows = 8;
constexpr int kSimColumns = 20;

struct SimScreen {
    u8 rows[kSimRows][kSimColumns + 1] = {};

    // Row r's text up to its NUL.
    std::string_view Row(int r) const;
};

// A rectangle in the window's client coordinates; right and bottom are exclusive.
struct SimRect {
    int left, top, right, bottom;
    bool operator==(const SimRect&) const = default;
};

SimRect WholeDisplayRect();     // 25,52 .. 154,133
SimRect TopFiveRowsRect();      // 25,52 .. 154,103
SimRect DisplayRowRect(int r);  // 25,52+10r .. 154,62+10r

// What the engine asks of whoever draws the terminal (the desktop window, k52cli, a test).
class SimView {
  public:
    virtual ~SimView() = default;
    // Redraw everything inside `r` from the engine's screen and state (no erase needed).
    virtual void InvalidateRect(const SimRect& r) = 0;
    // A modal box with an OK button; texts are UTF-8.
    virtual void ShowMessageBox(std::string_view text, std::string_view title, MessageIcon icon) = 0;
    // Posts a command to the main window, as a menu command would arrive.
    virtual void PostCommand(int commandId) = 0;
    // Draws at once, in display cell (row, col): the cursor image and `letter` on it in black.
    virtual void DrawPendingLetter(int row, int col, char letter) = 0;
    // A box took the mouse in the middle of a key press: forget the press and release the capture.
    virtual void ReleaseKeyPress() = 0;
    // Draws the status line (20 characters) straight onto display row 7, over its background.
    virtual void DrawStatusLine(std::string_view text) = 0;
    // Draws the alpha indicator at 146,114: image 543 when on, 544 when off.
    virtual void DrawAlphaIndicator(bool on) = 0;
    // Draws key `key` (1..20) pressed or released at its origin.
    virtual void DrawKey(int key, bool pressed) = 0;
    // Opens the command menu at (x, y) in client coordinates.
    virtual void OpenCommandMenu(int x, int y) = 0;
};

// A view that draws nothing.
class NullSimView : public SimView {
  public:
    void InvalidateRect(const SimRect&) override {}
    void ShowMessageBox(std::string_view, std::string_view, MessageIcon) override {}
    void PostCommand(int) override {}
    void DrawPendingLetter(int, int, char) override {}
    void ReleaseKeyPress() override {}
    void DrawStatusLine(std::string_view) override {}
    void DrawAlphaIndicator(bool) override {}
    void DrawKey(int, bool) override {}
    void OpenCommandMenu(int, int) override {}
};

}  // namespace k52
