// Where a transfer stands, for front ends that follow it live (k52cli's progress lines).
#pragma once

#include <cstdint>

namespace k52 {

enum class TransferPhase {
    CradleProbe,    // looking for the infrared cradle at each probe speed
    Handshake,      // the download's greeting, or the receive's request
    SendingPacket,  // program image packet `done` of `total`
    SendingRecord,  // lookup record `done` of `total`
    Receiving,      // `done` records stored so far; the total is not known
    Done,
    Failed,
};

struct TransferProgress {
    TransferPhase phase = TransferPhase::Handshake;
    int done = 0;
    int total = 0;  // 0 when not known
    std::int64_t bytesSent = 0;
    std::int64_t bytesReceived = 0;
};

}  // namespace k52
