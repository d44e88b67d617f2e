#include "link/Clock.h"

#include <cerrno>
#include <ctime>

namespace k52 {

std::int64_t MonotonicClock::NowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t{ts.tv_sec} * 1000 + ts.tv_nsec / 1000000;
}

void MonotonicClock::SleepUntil(std::int64_t untilMs) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(untilMs / 1000);
    ts.tv_nsec = static_cast<long>((untilMs % 1000) * 1000000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

}  // namespace k52
