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

std::vector<AdapterHold::Piece> AdapterHold::Pass(std::int64_t lastUs, std::size_t bytes,
                                                  std::uint32_t speed) {
    std::vector<Piece> pieces;
    std::size_t waiting = 0;  // bytes of this call not yet in a piece
    for (std::size_t k = 1; k <= bytes; ++k) {
        const std::int64_t arrivedUs = lastUs - WireTimeUs(bytes - k, speed);
        if (held_ > 0 && arrivedUs >= heldSinceUs_ + timerUs_) {
            // The timer ran out before this byte came.
            if (waiting > 0) pieces.push_back({heldSinceUs_ + timerUs_, waiting});
            waiting = 0;
            held_ = 0;
        }
        if (held_ == 0) heldSinceUs_ = arrivedUs;
        ++held_;
        ++waiting;
        if (held_ == kPacketBytes) {
            pieces.push_back({arrivedUs, waiting});
            waiting = 0;
            held_ = 0;
        }
    }
    if (waiting > 0) pieces.push_back({heldSinceUs_ + timerUs_, waiting});
    return pieces;
}

}  // namespace k52
