// The monotonic clock on std::chrono::steady_clock.
#include "line/Clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace k52 {

namespace {
using Steady = std::chrono::steady_clock;
}

std::int64_t MonotonicClock::NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now().time_since_epoch()).count();
}

bool SleepUnlessStopped(Clock& clock, std::int64_t ms, const StopFlag* stop, std::int64_t sliceMs) {
    const std::int64_t until = clock.NowMs() + ms;
    for (std::int64_t now = clock.NowMs(); now < until; now = clock.NowMs()) {
        if (stop && stop->load()) return false;
        clock.SleepUntil(std::min(until, now + sliceMs));
    }
    return true;
}

void MonotonicClock::SleepUntil(std::int64_t untilMs) {
    std::this_thread::sleep_until(Steady::time_point(std::chrono::milliseconds(untilMs)));
}

}  // namespace k52
