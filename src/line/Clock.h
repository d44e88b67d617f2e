// Milliseconds for the transfers: the interface, and the monotonic clock that real lines run on (the
// tests' virtual clock is in tests/support).
#pragma once

#include <atomic>
#include <cstdint>

namespace k52 {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t NowMs() = 0;
    // Returns once NowMs() has reached `untilMs`, without spinning.
    virtual void SleepUntil(std::int64_t untilMs) = 0;
};

// Set from any thread to end a transfer or a station at its next safe point.
using StopFlag = std::atomic<bool>;

// Sleeps `ms` on `clock` in slices of at most `sliceMs`, ending early once `stop` is set; true when the
// whole time passed.
bool SleepUnlessStopped(Clock& clock, std::int64_t ms, const StopFlag* stop, std::int64_t sliceMs);

class MonotonicClock : public Clock {
  public:
    std::int64_t NowMs() override;
    void SleepUntil(std::int64_t untilMs) override;
};

}  // namespace k52
