// Milliseconds for the transfers: a monotonic clock for real lines, a virtual one for tests, where
// time moves only when something waits.
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
