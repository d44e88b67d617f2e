// What the terminal peer saw and verified during an exchange, and its printed summary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "template/Template.h"

namespace k52 {

struct PeerReport {
    int cradleProbes = 0;  // probe bytes seen at any speed
    int cradleEchoes = 0;
    std::uint32_t cradleSpeed = 0;   // the speed the cradle relays at now
    std::vector<u8> cradleCommands;  // bytes of the speed switches, in order
    int handshakes = 0;              // "VARNEL\r" seen
    int requests = 0;                // "READ\r" seen
    int imagePacketsAccepted = 0;    // in the current attempt
    bool imageComplete = false;
    std::vector<u8> image;                       // 10500 bytes once complete
    std::vector<std::vector<u8>> lookupRecords;  // of the current attempt, as stored
    bool lookupComplete = false;
    int framesSent = 0;
    int recordsAcknowledged = 0;
    int acksReceived = 0;
    int naksReceived = 0;
    bool uploadComplete = false;      // "OVER\r" sent after every record was acknowledged
    std::vector<std::string> errors;  // what failed verification

    std::string Summary() const;
};

}  // namespace k52
