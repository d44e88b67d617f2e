// The terminal peer's fault language: what each --fault FAULT means, its parser and its help text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "template/Template.h"

namespace k52 {

enum class PeerFaultKind {
    RefuseHandshake,  // index unused; count handshakes; text the answer ("NAK\r" by default)
    IgnoreHandshake,  // count handshakes
    RefusePacket,     // download packet `index`, `count` times; text the answer
    IgnorePacket,     // download packet `index`, `count` times
    SilentAfter,      // after `count` packets or records acknowledged, nothing more is said
    RepeatRecord,     // record `index` is sent once more after it was acknowledged
    BadChecksum,      // the first `count` sends of record `index` carry a wrong checksum
    WrongSequence,    // the first `count` sends of record `index` carry a wrong sequence number
    Pause,            // every answer goes out `ms` late
    PausePacket,      // the answer to download packet `index` goes out `ms` late, once
    PauseRecord,      // the first send of record `index` goes out `ms` late
    Split,            // answers go out one byte at a time, `ms` apart
    CradleEcho,       // the cradle echoes text[0] instead of the probe byte
    // Counted over the whole exchange from 0, resends included:
    LoseFrame,     // upload frame `index` never reaches the host
    GarbleFrame,   // upload frame `index` reaches the host with a wrong checksum
    LateFrame,     // upload frame `index` goes out `ms` late
    LoseReply,     // the host's reply `index` to a frame never reaches the terminal
    GarbleReply,   // the host's reply `index` to a frame reaches the terminal unreadable
    LateReply,     // the host's reply `index` to a frame reaches the terminal `ms` late
    LosePacket,    // download packet send `index` never reaches the terminal
    GarblePacket,  // download packet send `index` reaches the terminal damaged
    LoseAnswer,    // the terminal's answer to download packet send `index` never reaches the host
    LateAnswer,    // the terminal's answer to download packet send `index` goes out `ms` late
};

struct PeerFault {
    PeerFaultKind kind = PeerFaultKind::Pause;
    int index = 0;
    int count = 1;
    std::int64_t ms = 0;
    std::vector<u8> text;
};

// Parses one --fault FAULT; see kPeerFaultHelp.
std::optional<PeerFault> ParsePeerFault(std::string_view text, std::string* error = nullptr);
extern const char kPeerFaultHelp[];

// Whether faults of this kind name a packet, record, frame or reply by `index`.
bool FaultIsIndexed(PeerFaultKind kind);

}  // namespace k52
