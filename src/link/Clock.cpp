// The monotonic clock on std::chrono::steady_clock.
#include "link/Clock.h"

#include <chrono>
#include <thread>

namespace k52 {

namespace {
using Steady = std::chrono::steady_clock;
}

std::int64_t MonotonicClock::NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now().time_since_epoch()).count();
}

void MonotonicClock::SleepUntil(std::int64_t untilMs) {
    std::this_thread::sleep_until(Steady::time_point(std::chrono::milliseconds(untilMs)));
}

}  // namespace k52
