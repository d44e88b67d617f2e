// k52peer's command line, parsed in process: what to play, or the help or a usage error to print.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "peer/TerminalPeer.h"

namespace k52 {

constexpr int kPeerExitDone = 0;        // an exchange ended and everything received verified (or --help)
constexpr int kPeerExitIncomplete = 1;  // anything else once terminals were played
constexpr int kPeerExitUsage = 2;

struct PeerArguments {
    PeerOptions options;
    std::string imageOut;   // empty: no image file
    std::string lookupOut;  // empty: no lookup file
    bool pace = false;
    std::int64_t adapterLatencyMs = 0;  // 0: replies reach the host directly
    int count = 1;                      // terminals to play, each on its own pseudo-terminal
};

// What the command line asks for: terminals to play, or only a text to print and an exit code.
struct PeerCommand {
    std::optional<PeerArguments> play;
    int exitCode = kPeerExitDone;
    std::string out;  // the help, for standard output
    std::string err;  // why the usage is bad, for standard error
};

// Reads the records file named by --records too: a file that cannot be used is bad usage.
PeerCommand ParsePeerCommandLine(int argc, const char* const* argv);

}  // namespace k52
