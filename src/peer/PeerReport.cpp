// The terminal peer's summary, as k52peer prints it after an exchange.
#include "peer/PeerReport.h"
#include "util/Hex.h"

#include <sstream>

namespace k52 {

namespace {

std::string Hex(u8 b) {
    return "0x" + HexByte(b);
}

}  // namespace

std::string PeerReport::Summary() const {
    std::ostringstream out;
    if (cradleProbes > 0 || !cradleCommands.empty()) {
        out << "cradle: " << cradleEchoes << " of " << cradleProbes << " probes echoed, relaying at "
            << cradleSpeed << " bps";
        if (!cradleCommands.empty()) {
            out << " (commands";
            for (u8 b : cradleCommands) out << " " << Hex(b);
            out << ")";
        }
        out << "\n";
    }
    if (handshakes > 0) out << "handshakes: " << handshakes << "\n";
    if (imageComplete || imagePacketsAccepted > 0)
        out << "image: " << (imageComplete ? "complete" : "incomplete") << ", " << imagePacketsAccepted
            << " packets verified\n";
    if (lookupComplete || !lookupRecords.empty())
        out << "lookup: " << (lookupComplete ? "complete" : "incomplete") << ", " << lookupRecords.size()
            << " records verified\n";
    if (requests > 0)
        out << "upload: " << (uploadComplete ? "complete" : "incomplete") << ", " << recordsAcknowledged
            << " records acknowledged, " << framesSent << " frames sent, " << naksReceived
            << " NAK received\n";
    out << "errors: " << errors.size() << "\n";
    for (const std::string& e : errors) out << "error: " << e << "\n";
    return out.str();
}

}  // namespace k52
