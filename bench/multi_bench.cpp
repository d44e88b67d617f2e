// Paced terminals: how close a transfer over k52peer --pace comes to the time its bytes need on a real
// line, and what serving several at once costs in time and in host CPU.
//
//   multi_bench
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "EngineRuns.h"

namespace {
using namespace k52::bench;
using k52::JobKind;
}  // namespace

int main() {
    std::printf("One paced program download (handshake + 105 packets of 103 bytes, a reply to each):\n");
    for (std::uint32_t speed : {115200u, 9600u}) {
        const Figures f = Serve(1, JobKind::Program, speed, {});
        std::printf("  %6u bps  wall %.3f s  wire %.3f s  (%+.2f%%)%s\n", speed, f.wall, f.wire,
                    100 * (f.wall - f.wire) / f.wire, f.ok ? "" : "  FAILED");
    }
    // A USB adapter holds each reply until its latency timer runs out; a host that asks for low latency
    // gets a 1 ms timer from the drivers that honour it.
    std::printf("The same at 115200 bps through a USB serial adapter (k52peer --adapter-latency):\n");
    for (const char* ms : {"16", "1"}) {
        const Figures f = Serve(1, JobKind::Program, 115200, {"--adapter-latency", ms});
        std::printf("  timer %2s ms (%s)  wall %.3f s  wire %.3f s  (x%.3f)%s\n", ms,
                    ms[0] == '1' && ms[1] == 0 ? "host asks for low latency" : "host does not ask", f.wall,
                    f.wire, f.wall / f.wire, f.ok ? "" : "  FAILED");
    }
    std::printf("Paced terminals downloading at once at 115200 bps:\n");
    double one = 0;
    for (int count : {1, 4, 8, 32}) {
        const Figures f = Serve(count, JobKind::Program, 115200, {});
        if (count == 1) one = f.wall;
        std::printf("  %2d terminal%s  wall %.3f s  x%.3f of one  host CPU %.3f%% of a core per terminal%s\n",
                    count, count == 1 ? " " : "s", f.wall, f.wall / one, 100 * f.cpu / f.wall / count,
                    f.ok ? "" : "  FAILED");
    }
    // Each record is on disk (fdatasync) before its ACK: the folder's file system shows in the figures.
    for (const std::string base : {"/tmp", "/dev/shm"}) {
        const std::string folder = base + "/k52-multi-bench-" + std::to_string(getpid());
        if (mkdir(folder.c_str(), 0700) != 0) continue;
        WriteRecords(folder + "/records.txt", 1000);
        const Figures f = Serve(4, JobKind::Receive, 115200, {"--records", folder + "/records.txt"}, folder);
        std::printf("4 paced terminals each sending 1000 records at once at 115200 bps, stored in %s:\n",
                    base.c_str());
        std::printf("  wall %.3f s  wire %.3f s  (%+.2f%%)  host CPU %.3f%% of a core per terminal%s\n",
                    f.wall, f.wire, 100 * (f.wall - f.wire) / f.wire, 100 * f.cpu / f.wall / 4,
                    f.ok ? "" : "  FAILED");
        std::filesystem::remove_all(folder);
    }
    return 0;
}
