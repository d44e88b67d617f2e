#include "simulator/Clock.h"

namespace k52 {

LocalTime SystemLocalClock::Now() {
    return {};
}

std::string FormatStatusText(const LocalTime&, int, int) {
    return std::string(20, ' ');
}

}  // namespace k52
