// Where a transfer stands: one stream of phases and counts for every front end that follows it live.
#pragma once

#include <cstdint>

namespace k52 {

enum class TransferPhase {
    CradleProbe,    // looking for the infrared cradle at each probe speed
    Handshake,      // the download's greeting, or the receive's request
    SendingPacket,  // program image packet `done` of `total`
    SendingRecord,  // lookup record `done` of `total`
    Receiving,      // `done` records stored so far; the total is not known
    Closing,        // the exchange is over (whatever its end); the port is being closed
    Done,
    Failed,
};

struct TransferProgress {
    TransferPhase phase = TransferPhase::Handshake;
    int done = 0;
    int total = 0;  // 0 when not known
    std::int64_t bytesSent = 0;
    std::int64_t bytesReceived = 0;
    int percent = -1;  // while sending: how far the progress bar stands (0..100); -1 otherwise

    bool operator==(const TransferProgress&) const = default;
};

}  // namespace k52
