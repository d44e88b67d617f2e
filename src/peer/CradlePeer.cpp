// The infrared cradle's probe echo and speed switch.
#include "peer/CradlePeer.h"

#include "protocol/LineSpeeds.h"
#include "protocol/Protocol.h"

namespace k52 {

CradlePeer::CradlePeer(std::uint32_t listenSpeed, PeerReport& report)
    : report_(report), present_(listenSpeed != 0) {
    report_.cradleSpeed = listenSpeed;
}

bool CradlePeer::Addressed(u8 b, const PeerLineState& line, bool terminalQuiet) const {
    if (line.modemLinesKnown) return !line.rts;
    return commandMode_ || ((b == kCradleProbe || b == kCradleAttention) && terminalQuiet);
}

std::optional<u8> CradlePeer::Take(u8 b, const PeerLineState& line, std::optional<u8> echoInstead) {
    if (b == kCradleProbe && !commandMode_) ++report_.cradleProbes;
    if (line.speed != report_.cradleSpeed) return std::nullopt;
    if (commandMode_) {
        report_.cradleCommands.push_back(b);
        if (b >= '2' && b <= '6') {
            pendingSpeed_ = *SpeedOfBaudRate('6' - b);
        } else if (b == kCradleQuit) {
            if (pendingSpeed_ != 0) report_.cradleSpeed = pendingSpeed_;
            pendingSpeed_ = 0;
            commandMode_ = false;
        }
        return std::nullopt;
    }
    if (b == kCradleProbe) {
        ++report_.cradleEchoes;
        return echoInstead ? *echoInstead : kCradleProbe;
    }
    if (b == kCradleAttention) {
        report_.cradleCommands.push_back(b);
        commandMode_ = true;
    }
    return std::nullopt;
}

}  // namespace k52
