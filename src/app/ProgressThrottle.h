// How often a live view follows a transfer: at most once per interval, but at once when its phase
// changes, so a front end is never flooded and never misses a step that matters.
#pragma once

#include <cstdint>

#include "transfer/TransferProgress.h"

namespace k52 {

class ProgressThrottle {
  public:
    explicit ProgressThrottle(std::int64_t everyMs) : everyMs_(everyMs) {}

    // Whether `progress` at `nowMs` is worth drawing; when it is, it counts as drawn.
    bool Due(const TransferProgress& progress, std::int64_t nowMs) {
        const bool due = !drawn_ || progress.phase != phase_ || nowMs - lastMs_ >= everyMs_;
        if (due) {
            Mark(nowMs);
            phase_ = progress.phase;
        }
        return due;
    }
    // The same without a phase: only the interval counts.
    bool Due(std::int64_t nowMs) {
        const bool due = !drawn_ || nowMs - lastMs_ >= everyMs_;
        if (due) Mark(nowMs);
        return due;
    }

    // Drawn now for another reason: the interval starts again.
    void Mark(std::int64_t nowMs) {
        lastMs_ = nowMs;
        drawn_ = true;
    }

  private:
    std::int64_t everyMs_;
    std::int64_t lastMs_ = 0;
    bool drawn_ = false;
    TransferPhase phase_ = TransferPhase::Done;
};

}  // namespace k52
