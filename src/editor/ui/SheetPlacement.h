// Where the editor sheet goes so that the terminal stays in view while the template is edited.
#pragma once

#include <QRect>
#include <QSize>

namespace k52 {

// The room left between the terminal and the sheet, enough for a window manager's border.
inline constexpr int kSheetGap = 12;

// A rectangle of `sheet`'s size beside `terminal` inside `screen`: to its right, else to its left, each
// lined up with the terminal's top as far as the screen allows. When neither side has room, the side
// with more room, kept on the screen (it then covers part of the terminal); a sheet larger than the
// screen starts at the screen's top-left corner.
QRect PlaceBeside(const QRect& terminal, const QSize& sheet, const QRect& screen, int gap = kSheetGap);

// Where the terminal goes so that `sheet` does not cover it: where it is when they do not meet, else
// beside the sheet on the side where the screen has room for it, else where it is.
QRect MakeRoomBeside(const QRect& terminal, const QRect& sheet, const QRect& screen, int gap = kSheetGap);

}  // namespace k52
