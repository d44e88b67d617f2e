// The simulated display's rows and the rectangles the engine repaints.
#include "simulator/SimView.h"

#include "template/Cp950.h"

namespace k52 {

std::string_view SimScreen::Row(int r) const {
    if (r < 0 || r >= kSimRows) return {};
    return FieldText(rows[r], kSimColumns + 1);
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

}  // namespace k52
