// The time bytes take on a real serial line: ten bit times each (start, eight data bits, stop) at the
// line's speed, one byte after another in each direction.
#pragma once

#include <cstddef>
#include <cstdint>

namespace k52 {

// Microseconds `bytes` bytes occupy a line at `speed` bits per second, rounded up; 0 when the speed is
// not known (0).
std::int64_t WireTimeUs(std::size_t bytes, std::uint32_t speed);

// One direction of a line: bytes handed to it queue behind those still on their way.
class LinePacer {
  public:
    // Bytes handed over at `atUs`; returns when their last bit is through.
    std::int64_t Pass(std::int64_t atUs, std::size_t bytes, std::uint32_t speed);

  private:
    std::int64_t freeAtUs_ = 0;
};

}  // namespace k52
