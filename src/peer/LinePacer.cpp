// Serial line timing for the paced terminal emulator.
#include "peer/LinePacer.h"

#include <algorithm>

namespace k52 {

std::int64_t WireTimeUs(std::size_t bytes, std::uint32_t speed) {
    if (speed == 0) return 0;
    const auto bits = static_cast<std::int64_t>(bytes) * 10 * 1000000;
    return (bits + speed - 1) / speed;
}

std::int64_t LinePacer::Pass(std::int64_t atUs, std::size_t bytes, std::uint32_t speed) {
    freeAtUs_ = std::max(atUs, freeAtUs_) + WireTimeUs(bytes, speed);
    return freeAtUs_;
}

}  // namespace k52
