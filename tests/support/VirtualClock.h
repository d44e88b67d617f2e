// A millisecond clock for tests, where time moves only when something waits or the test moves it: a
// nine-second time-out runs in microseconds, and every run is the same.
#pragma once

#include <cstdint>

#include "line/Clock.h"

namespace k52 {

class VirtualClock : public Clock {
  public:
    explicit VirtualClock(std::int64_t startMs = 0) : now_(startMs) {}
    std::int64_t NowMs() override { return now_; }
    void SleepUntil(std::int64_t untilMs) override { AdvanceTo(untilMs); }
    void AdvanceTo(std::int64_t ms) {
        if (ms > now_) now_ = ms;
    }
    void Advance(std::int64_t ms) { AdvanceTo(now_ + ms); }

  private:
    std::int64_t now_;
};

}  // namespace k52
