// Whatever sits at the far end of an in-memory line: it sees each write with the line's state at that
// moment and answers with bytes due at given times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "template/Template.h"

namespace k52 {

struct PeerLineState {
    std::uint32_t speed = 0;
    bool modemLinesKnown = false;  // a pseudo-terminal has no DTR and RTS to look at
    bool dtr = false;
    bool rts = false;
};

struct PeerEmission {
    std::int64_t dueMs = 0;
    std::vector<u8> bytes;
};

class LinePeer {
  public:
    virtual ~LinePeer() = default;
    virtual void Receive(const u8* data, std::size_t size, const PeerLineState& line, std::int64_t nowMs) = 0;
    // What the peer has decided to send since the last call, in order.
    virtual std::vector<PeerEmission> TakeOutput() = 0;
};

}  // namespace k52
