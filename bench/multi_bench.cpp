// Paced terminals: how close a transfer over k52peer --pace comes to the time its bytes need on a real
// line, and what serving several at once costs in time and in host CPU.
//
//   multi_bench
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "BenchPeers.h"
#include "cli/CliSupport.h"
#include "cli/TransferSession.h"
#include "protocol/LineSpeeds.h"

namespace {

using namespace k52;
using namespace k52::cli;
using bench::CpuSeconds;
using bench::WallSeconds;

struct Figures {
    double wall = 0, cpu = 0, wire = 0;
    bool ok = true;
};

// Runs `job` on every terminal of a fresh peer process at once, as k52cli does.
Figures Serve(int count, TransferJob job, std::uint32_t speed, const std::vector<std::string>& peerArgs,
              const std::string& dataFolder = "") {
    std::vector<std::string> args = {"--pace", "--count", std::to_string(count)};
    args.insert(args.end(), peerArgs.begin(), peerArgs.end());
    bench::Peers peers = bench::StartPeers(args, count);
    std::ostringstream quiet;
    ProgressBoard board(quiet, ProgressMode::Quiet, peers.paths, true, [] { return 0; });
    ApplicationTemplate t = StartupTemplate();
    t.portSettings.baudRate = static_cast<u8>(*BaudRateOfSpeed(speed));
    std::vector<TerminalResult> results(static_cast<std::size_t>(count));
    const double wall0 = WallSeconds(), cpu0 = CpuSeconds();
    RunSideBySide(results.size(), [&](std::size_t i) {
        PosixLineFactory lines(peers.paths[i]);
        MonotonicClock clock;
        const std::string file = dataFolder.empty() ? "" : dataFolder + "/" + std::to_string(i) + ".TXT";
        SessionPlan plan{job, Transport::Direct, LookupEncoding::Auto, 0, file, peers.paths[i]};
        results[i] = RunSession(plan, t, lines, clock, board, i);
    });
    Figures f;
    f.wall = WallSeconds() - wall0;
    f.cpu = CpuSeconds() - cpu0;
    bench::StopPeers(peers);
    for (const TerminalResult& r : results) {
        f.ok = f.ok && r.exitCode == 0;
        // The terminals share no line: the slowest one's bytes set the time.
        f.wire = std::max(f.wire, static_cast<double>(r.bytes) * 10 / speed);
    }
    return f;
}

}  // namespace

int main() {
    std::printf("One paced program download (handshake + 105 packets of 103 bytes, a reply to each):\n");
    for (std::uint32_t speed : {115200u, 9600u}) {
        const Figures f = Serve(1, TransferJob::Program, speed, {});
        std::printf("  %6u bps  wall %.3f s  wire %.3f s  (%+.2f%%)%s\n", speed, f.wall, f.wire,
                    100 * (f.wall - f.wire) / f.wire, f.ok ? "" : "  FAILED");
    }
    // A USB adapter holds each reply until its latency timer runs out; a host that asks for low latency
    // gets a 1 ms timer from the drivers that honour it.
    std::printf("The same at 115200 bps through a USB serial adapter (k52peer --adapter-latency):\n");
    for (const char* ms : {"16", "1"}) {
        const Figures f = Serve(1, TransferJob::Program, 115200, {"--adapter-latency", ms});
        std::printf("  timer %2s ms (%s)  wall %.3f s  wire %.3f s  (x%.3f)%s\n", ms,
                    ms[0] == '1' && ms[1] == 0 ? "host asks for low latency" : "host does not ask", f.wall,
                    f.wire, f.wall / f.wire, f.ok ? "" : "  FAILED");
    }
    std::printf("Paced terminals downloading at once at 115200 bps:\n");
    double one = 0;
    for (int count : {1, 4, 8, 32}) {
        const Figures f = Serve(count, TransferJob::Program, 115200, {});
        if (count == 1) one = f.wall;
        std::printf("  %2d terminal%s  wall %.3f s  x%.3f of one  host CPU %.3f%% of a core per terminal%s\n",
                    count, count == 1 ? " " : "s", f.wall, f.wall / one, 100 * f.cpu / f.wall / count,
                    f.ok ? "" : "  FAILED");
    }
    // Each record is on disk (fsync) before its ACK: the folder's file system shows in the figures.
    for (const std::string base : {"/tmp", "/dev/shm"}) {
        const std::string folder = base + "/k52-multi-bench-" + std::to_string(getpid());
        if (mkdir(folder.c_str(), 0700) != 0) continue;
        std::ofstream records(folder + "/records.txt");
        for (int i = 0; i < 1000; ++i)
            records << "4710000" << 100000 + i << "," << i % 97 << ",SHELF-" << i % 13 << "\n";
        records.close();
        const Figures f =
            Serve(4, TransferJob::Receive, 115200, {"--records", folder + "/records.txt"}, folder);
        std::printf("4 paced terminals each sending 1000 records at once at 115200 bps, stored in %s:\n",
                    base.c_str());
        std::printf("  wall %.3f s  wire %.3f s  (%+.2f%%)  host CPU %.3f%% of a core per terminal%s\n",
                    f.wall, f.wire, 100 * (f.wall - f.wire) / f.wire, 100 * f.cpu / f.wall / 4,
                    f.ok ? "" : "  FAILED");
        std::filesystem::remove_all(folder);
    }
    return 0;
}
