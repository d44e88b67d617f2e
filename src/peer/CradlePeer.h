// The infrared cradle in front of the terminal peer: it echoes the probe byte at the speed it listens
// at, takes the speed switch, and relays everything else at that speed.
#pragma once

#include <cstdint>
#include <optional>

#include "peer/LinePeer.h"
#include "peer/PeerReport.h"

namespace k52 {

class CradlePeer {
  public:
    // `listenSpeed` 0: there is no cradle.
    CradlePeer(std::uint32_t listenSpeed, PeerReport& report);
    bool present() const { return present_; }
    // Whether `b` is for the cradle itself. With modem lines, RTS off addresses the cradle. Without
    // them (a pseudo-terminal) the cradle takes its own bytes while the terminal is between exchanges
    // (`terminalQuiet`), and everything once addressed until the switch ends.
    bool Addressed(u8 b, const PeerLineState& line, bool terminalQuiet) const;
    // Takes a byte addressed to the cradle; the byte to echo, if any.
    std::optional<u8> Take(u8 b, const PeerLineState& line, std::optional<u8> echoInstead);
    // Bytes at another speed than the cradle's reach nobody intact.
    bool Relays(std::uint32_t speed) const { return speed == report_.cradleSpeed; }

  private:
    PeerReport& report_;
    bool present_;
    bool commandMode_ = false;
    std::uint32_t pendingSpeed_ = 0;
};

}  // namespace k52
