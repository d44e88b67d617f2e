// k52cli's engine on fresh paced k52peer processes, timed: what the benchmarks compare.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/TerminalRuns.h"

namespace k52::bench {

struct Figures {
    double wall = 0, cpu = 0, wire = 0;
    bool ok = true;
};

// Runs `job` on every terminal of a fresh `k52peer --pace --count COUNT` at once, as k52cli does; a
// receive stores terminal i's records in DATAFOLDER/i.TXT.
Figures Serve(int count, JobKind job, std::uint32_t speed, const std::vector<std::string>& peerArgs,
              const std::string& dataFolder = "");

// A file of `count` records as a terminal collects them, for k52peer --records.
void WriteRecords(const std::string& path, int count);

double Median(std::vector<double> values);

}  // namespace k52::bench
