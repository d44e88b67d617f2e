// What k52peer leaves of a terminal once the play is over: its summary, and the image and lookup records
// it received in the files the command line named.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "peer/PeerCommandLine.h"

namespace k52 {

struct PeerResult {
    std::string out;  // for standard output
    std::string err;  // the files that could not be written
    bool ok = false;  // the exchange ended, everything received verified and every file was written
};

// Terminal `index` (from 0) of `count` played on `path`: with more than one, the summary is headed by
// the path and the files get ".1", ".2", ... after their names.
PeerResult FinishTerminal(const TerminalPeer& peer, const std::string& path, std::size_t index,
                          std::size_t count, const PeerArguments& args);

// The lookup records as k52peer writes them, each ended by CR LF.
std::vector<u8> LookupFileBytes(const PeerReport& report);

}  // namespace k52
