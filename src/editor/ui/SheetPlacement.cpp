// The editor sheet's place beside the terminal.
#include "editor/ui/SheetPlacement.h"

#include <algorithm>

namespace k52 {

namespace {

// `start` moved as little as needed for [start, start + length) to lie in [low, low + room); the low
// end wins when it cannot.
int KeepInside(int start, int length, int low, int room) {
    return std::max(low, std::min(start, low + room - length));
}

}  // namespace

QRect PlaceBeside(const QRect& terminal, const QSize& sheet, const QRect& screen, int gap) {
    const int rightX = terminal.x() + terminal.width() + gap;
    const int leftX = terminal.x() - gap - sheet.width();
    const int roomRight = screen.x() + screen.width() - rightX;
    const int roomLeft = terminal.x() - gap - screen.x();
    int x = 0;
    if (sheet.width() <= roomRight)
        x = rightX;
    else if (sheet.width() <= roomLeft)
        x = leftX;
    else
        x = KeepInside(roomRight >= roomLeft ? rightX : leftX, sheet.width(), screen.x(), screen.width());
    const int y = KeepInside(terminal.y(), sheet.height(), screen.y(), screen.height());
    return QRect(QPoint(x, y), sheet);
}

QRect MakeRoomBeside(const QRect& terminal, const QRect& sheet, const QRect& screen, int gap) {
    if (!terminal.intersects(sheet.adjusted(-gap + 1, 0, gap - 1, 0))) return terminal;
    const int leftX = sheet.x() - gap - terminal.width();
    const int rightX = sheet.x() + sheet.width() + gap;
    if (leftX >= screen.x()) return terminal.translated(leftX - terminal.x(), 0);
    if (rightX + terminal.width() <= screen.x() + screen.width())
        return terminal.translated(rightX - terminal.x(), 0);
    return terminal;
}

}  // namespace k52
