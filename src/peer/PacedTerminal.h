// One emulated terminal at its end of a line, with the line's timing: bytes from the host reach it once
// their time on the line has passed, and its replies leave once they would have gone through. The caller
// hands it what the host wrote and the time; it writes its replies when they are due.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "peer/LinePacer.h"
#include "peer/TerminalPeer.h"

namespace k52 {

// The terminal's end of the line: a pseudo-terminal's master side, or a test's stand-in.
class PeerLineEnd {
  public:
    virtual ~PeerLineEnd() = default;
    // The speed the host set on the line; 0 when it is not known.
    virtual std::uint32_t Speed() = 0;
    virtual void Write(const u8* data, std::size_t size) = 0;
};

class PacedTerminal {
  public:
    // `pace` false: bytes pass at once both ways. `adapterLatencyUs` above 0: replies reach the host
    // through a USB serial adapter with that latency timer.
    PacedTerminal(const PeerOptions& options, PeerLineEnd& line, bool pace,
                  std::int64_t adapterLatencyUs = 0);

    // Bytes the host wrote, read at `nowUs`.
    void FromHost(const u8* data, std::size_t size, std::int64_t nowUs);
    // The host closed its side at `nowUs`. Once the exchange is over that is the end; otherwise the host
    // may come back (a retry), and the terminal naps meanwhile instead of watching a hung-up line.
    void HostHungUp(std::int64_t nowUs);
    // Moves what is due at `nowUs`; returns when the terminal next needs attention (INT64_MAX: only when
    // the host writes).
    std::int64_t Service(std::int64_t nowUs);

    bool finished() const { return finished_; }
    bool Napping(std::int64_t nowUs) const { return napUntilUs_ > nowUs; }
    const TerminalPeer& peer() const { return peer_; }

  private:
    struct Chunk {
        std::int64_t dueUs;
        std::vector<u8> bytes;
        std::uint32_t speed;
    };
    void Deliver(const u8* data, std::size_t size, std::uint32_t speed, std::int64_t atUs);
    void ThroughAdapter(std::vector<u8> bytes, std::int64_t readyUs, std::uint32_t lineSpeed);
    bool Quiet() const;

    TerminalPeer peer_;
    PeerLineEnd& line_;
    bool pace_;
    std::deque<Chunk> inbound_, outbound_;
    LinePacer fromHost_, toHost_;
    std::optional<AdapterHold> adapter_;
    std::int64_t endedAtUs_ = -1;
    std::int64_t napUntilUs_ = 0;
    bool finished_ = false;
};

}  // namespace k52
