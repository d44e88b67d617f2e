// The time bytes take on a real serial line: ten bit times each (start, eight data bits, stop) at the
// line's speed, one byte after another in each direction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

// A USB serial adapter between the line and the host: it holds the bytes it receives until its latency
// timer, counted from the first byte held, runs out or a packet's worth (62 bytes) has gathered, and then
// passes them on together.
class AdapterHold {
  public:
    static constexpr std::size_t kPacketBytes = 62;
    explicit AdapterHold(std::int64_t timerUs) : timerUs_(timerUs) {}
    struct Piece {
        std::int64_t atUs;
        std::size_t bytes;
    };
    // `bytes` bytes off the line at `speed`, the last bit of the last at `lastUs`: the pieces in which the
    // host gets them. A later piece that fills a packet lets earlier held bytes go with it, so the caller
    // brings forward whatever it still holds for a later time.
    std::vector<Piece> Pass(std::int64_t lastUs, std::size_t bytes, std::uint32_t speed);
    // The host went away: what was held is gone.
    void Drop() { held_ = 0; }

  private:
    std::int64_t timerUs_;
    std::int64_t heldSinceUs_ = 0;
    std::size_t held_ = 0;
};

}  // namespace k52
