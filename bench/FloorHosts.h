// The least a host can do on these protocols, for the benchmarks to measure the engine against: raw
// termios, one write and one blocking read per packet, nothing checked beyond the reply.
#pragma once

#include <cstddef>
#include <cstdint>

namespace k52::bench {

struct FloorRun {
    double wall = 0;  // seconds from the open to the last reply
    long bytes = 0;   // sent and received, for the wire time
    bool ok = false;
    double opened = 0, greeted = 0;  // a download's line set up, and its handshake answered (from the open)
};

// Sends "VARNEL\r" and then `count` packets of `size` bytes from `packets`, each answered by "ACK\r";
// with `discardFirst` it drops what waits on the line before each send, as the engine does.
FloorRun FloorDownload(const char* device, std::uint32_t speed, const unsigned char* packets, int count,
                       std::size_t size, bool discardFirst = false);

// Sends "READ\r", then stores every record frame's data and CR LF in `file`, fdatasyncs it and answers
// "ACK\r", until "OVER\r".
FloorRun FloorReceive(const char* device, std::uint32_t speed, const char* file);

}  // namespace k52::bench
