// Milliseconds for the transfers: the interface, and the monotonic clock that real lines run on (the
// tests' virtual clock is in tests/support).
#pragma once

#include <cstdint>

namespace k52 {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual std::int64_t NowMs() = 0;
    // Returns once NowMs() has reached `untilMs`, without spinning.
    virtual void SleepUntil(std::int64_t untilMs) = 0;
};

class MonotonicClock : public Clock {
  public:
    std::int64_t NowMs() override;
    void SleepUntil(std::int64_t untilMs) override;
};

}  // namespace k52
