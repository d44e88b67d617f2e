#include "link/TerminalPeer.h"

namespace k52 {

const char kPeerFaultHelp[] = "";
std::optional<PeerFault> ParsePeerFault(std::string_view, std::string*) {
    return std::nullopt;
}
bool LoadPeerRecords(const std::string&, std::vector<std::vector<u8>>&, std::string*) {
    return false;
}
std::string PeerReport::Summary() const {
    return {};
}
TerminalPeer::TerminalPeer(PeerOptions options) : options_(std::move(options)) {}
void TerminalPeer::Receive(const u8*, std::size_t, const PeerLineState&, std::int64_t) {}
std::vector<PeerEmission> TerminalPeer::TakeOutput() {
    return std::move(output_);
}
bool TerminalPeer::ExchangeEnded() const {
    return false;
}

}  // namespace k52
