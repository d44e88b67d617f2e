// How often a live view follows a transfer: at most once per interval, but at once when its phase
// changes, so a front end is never flooded and never misses a step that matters.
#pragma once

#include <cstdint>
#include <optional>

#include "transfer/TransferProgress.h"

namespace k52 {

class ProgressThrottle {
  public:
    explicit ProgressThrottle(std::int64_t everyMs) : everyMs_(everyMs) {}

    // Whether `progress` at `nowMs` is worth drawing; when it is, it counts as drawn.
    bool Due(const TransferProgress& progress, std::int64_t nowMs) {
        const bool due = !lastMs_ || progress.phase != phase_ || nowMs - *lastMs_ >= everyMs_;
        if (due) {
            lastMs_ = nowMs;
            phase_ = progress.phase;
        }
        return due;
    }
    // The same without a phase: only the interval counts.
    bool Due(std::int64_t nowMs) {
        const bool due = !lastMs_ || nowMs - *lastMs_ >= everyMs_;
        if (due) lastMs_ = nowMs;
        return due;
    }

    // Drawn now for another reason: the interval starts again.
    void Mark(std::int64_t nowMs) { lastMs_ = nowMs; }

  private:
    std::int64_t everyMs_;
    std::optional<std::int64_t> lastMs_;
    TransferPhase phase_ = TransferPhase::Done;
};

}  // namespace k52
