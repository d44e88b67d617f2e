// The summary and the output files of a terminal that k52peer played.
#include "peer/PeerResults.h"

#include <fstream>

namespace k52 {
namespace {

bool WriteFile(const std::string& path, const std::vector<u8>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

}  // namespace

std::vector<u8> LookupFileBytes(const PeerReport& report) {
    std::vector<u8> text;
    for (const auto& r : report.lookupRecords) {
        text.insert(text.end(), r.begin(), r.end());
        text.push_back('\r');
        text.push_back('\n');
    }
    return text;
}

PeerResult FinishTerminal(const TerminalPeer& peer, const std::string& path, std::size_t index,
                          std::size_t count, const PeerArguments& args) {
    const std::string suffix = count > 1 ? "." + std::to_string(index + 1) : "";
    const PeerReport& report = peer.report();
    PeerResult result;
    if (count > 1) result.out = path + ":\n";
    result.out += report.Summary();
    result.ok = peer.ExchangeEnded() && report.errors.empty();
    auto write = [&](const std::string& name, const std::vector<u8>& bytes) {
        if (WriteFile(name + suffix, bytes)) return;
        result.err += "k52peer: cannot write " + name + suffix + "\n";
        result.ok = false;
    };
    if (!args.imageOut.empty() && report.imageComplete) write(args.imageOut, report.image);
    if (!args.lookupOut.empty() && report.lookupComplete) write(args.lookupOut, LookupFileBytes(report));
    return result;
}

}  // namespace k52
