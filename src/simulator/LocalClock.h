// The terminal's clock: the local time comes in through an interface so that tests and k52cli fix it.
#pragma once

#include <string>

namespace k52 {

struct LocalTime {
    int year = 2000;
    int month = 1;  // 1 = January
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class LocalClock {
  public:
    virtual ~LocalClock() = default;
    virtual LocalTime Now() = 0;
};

// The host's local time.
class SystemLocalClock : public LocalClock {
  public:
    LocalTime Now() override;
};

// Always the same time, which a test or a command line sets.
class FixedLocalClock : public LocalClock {
  public:
    explicit FixedLocalClock(LocalTime fixed = {}) : time(fixed) {}
    LocalTime Now() override { return time; }
    LocalTime time;
};

// The 20-character status line under the main menu: month, day, hour, minute (with the colon shown for
// ticks 0..4 and a blank for ticks 5..9) and the number of completed forms.
std::string FormatStatusText(const LocalTime& time, int tickCount, int collectedCount);

}  // namespace k52
