// Paced terminals: how close a transfer over k52peer --pace comes to the time its bytes need on a real
// line, and what serving several at once costs in time and in host CPU.
//
//   multi_bench
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/TransferSession.h"
#include "util/LineSpeeds.h"

extern char** environ;

namespace {

using namespace k52;
using namespace k52::cli;

double Seconds(clockid_t id) {
    timespec ts{};
    clock_gettime(id, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

struct Peers {
    pid_t pid = -1;
    std::vector<std::string> paths;
};

// One k52peer process playing `count` paced terminals.
Peers StartPeers(int count, std::vector<std::string> extra) {
    int out[2];
    if (pipe(out) != 0) std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<std::string> args = {K52PEER_PATH, "--pace", "--count", std::to_string(count)};
    args.insert(args.end(), extra.begin(), extra.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    Peers p;
    if (posix_spawn(&p.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) std::exit(1);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string line;
    char c;
    while (static_cast<int>(p.paths.size()) < count && read(out[0], &c, 1) == 1) {
        if (c != '\n') {
            line += c;
            continue;
        }
        p.paths.push_back(line);
        line.clear();
    }
    close(out[0]);
    return p;
}

void StopPeers(const Peers& p) {
    kill(p.pid, SIGTERM);
    int status = 0;
    waitpid(p.pid, &status, 0);
}

struct Figures {
    double wall = 0, cpu = 0, wire = 0;
    bool ok = true;
};

// Runs `job` on every terminal of a fresh peer process at once, as k52cli does.
Figures Serve(int count, TransferJob job, std::uint32_t speed, const std::vector<std::string>& peerArgs,
              const std::string& dataFolder = "") {
    Peers peers = StartPeers(count, peerArgs);
    std::ostringstream quiet;
    ProgressBoard board(quiet, ProgressMode::Quiet, peers.paths, true, [] { return 0; });
    ApplicationTemplate t = StartupTemplate();
    t.portSettings.baudRate = static_cast<u8>(*BaudRateOfSpeed(speed));
    std::vector<TerminalResult> results(static_cast<std::size_t>(count));
    const double wall0 = Seconds(CLOCK_MONOTONIC), cpu0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
    RunSideBySide(results.size(), [&](std::size_t i) {
        PosixLineFactory lines(peers.paths[i]);
        MonotonicClock clock;
        const std::string file = dataFolder.empty() ? "" : dataFolder + "/" + std::to_string(i) + ".TXT";
        SessionPlan plan{job, Transport::Direct, LookupEncoding::Auto, 0, file, peers.paths[i]};
        results[i] = RunSession(plan, t, lines, clock, board, i);
    });
    Figures f;
    f.wall = Seconds(CLOCK_MONOTONIC) - wall0;
    f.cpu = Seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
    StopPeers(peers);
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
    std::printf("Paced terminals downloading at once at 115200 bps:\n");
    double one = 0;
    for (int count : {1, 4, 8}) {
        const Figures f = Serve(count, TransferJob::Program, 115200, {});
        if (count == 1) one = f.wall;
        std::printf("  %d terminal%s  wall %.3f s  x%.3f of one  host CPU %.3f%% of a core per terminal%s\n",
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
