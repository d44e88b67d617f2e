// The terminal's clock on the host's local time.
#include "simulator/LocalClock.h"

#include <cstdio>
#include <ctime>

namespace k52 {

LocalTime SystemLocalClock::Now() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatStatusText(const LocalTime& time, int tickCount, int collectedCount) {
    static const char kMonths[12][5] = {"JAN ", "FEB ", "MAR ", "APR ", "MAY ", "JUN ",
                                        "JUL ", "AUG ", "SEP ", "OCT ", "NOV ", "DEC "};
    std::string text = (time.month >= 1 && time.month <= 12) ? kMonths[time.month - 1] : "??? ";

    // The colon blinks: shown for the first half of each second.
    bool colon = tickCount >= 0 && tickCount <= 4;
    char middle[64];
    std::snprintf(middle, sizeof middle, colon ? "%2d, %2d:%-2d  " : "%2d, %2d %-2d  ", time.day, time.hour,
                  time.minute);
    // A clock out of its ranges must not move the count.
    std::string mid(middle);
    mid.resize(11, ' ');
    text += mid;

    // The ten-thousands place is not reduced modulo 10, as the terminal shows it.
    unsigned count = collectedCount < 0 ? 0u : static_cast<unsigned>(collectedCount);
    text += static_cast<char>(static_cast<unsigned char>('0' + count / 10000));
    text += static_cast<char>('0' + count / 1000 % 10);
    text += static_cast<char>('0' + count / 100 % 10);
    text += static_cast<char>('0' + count / 10 % 10);
    text += static_cast<char>('0' + count % 10);
    return text;
}

}  // namespace k52
