// What the benchmarks share: k52peer started in its own process, programs timed from their start to
// their exit, and the clocks they read.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace k52::bench {

// Seconds on the steady clock, and of this process's CPU time, from an arbitrary start.
double WallSeconds();
double CpuSeconds();

struct Peers {
    pid_t pid = -1;
    std::vector<std::string> paths;  // one pseudo-terminal per terminal played, as k52peer prints them
};

// Starts k52peer with `args` and waits for its first `count` paths; its other output is dropped.
Peers StartPeers(std::vector<std::string> args, int count = 1);
void StopPeers(const Peers& peers);

// Runs `args` (the program first) with its output dropped and waits for it; returns the seconds from
// its start to its exit, and its exit status in `status` (-1 when it did not exit normally).
double TimeProgram(std::vector<std::string> args, int* status);

}  // namespace k52::bench
