// k52cli's engine against paced peers, timed in wall and host CPU time.
#include "EngineRuns.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <sstream>

#include "BenchPeers.h"
#include "cli/CliSupport.h"
#include "protocol/LineSpeeds.h"

namespace k52::bench {

using namespace k52::cli;

Figures Serve(int count, JobKind job, std::uint32_t speed, const std::vector<std::string>& peerArgs,
              const std::string& dataFolder) {
    std::vector<std::string> args = {"--pace", "--count", std::to_string(count)};
    args.insert(args.end(), peerArgs.begin(), peerArgs.end());
    Peers peers = StartPeers(args, count);
    std::ostringstream quiet;
    ProgressBoard board(quiet, ProgressMode::Quiet, peers.paths, true, [] { return 0; });
    ApplicationTemplate t = StartupTemplate();
    t.portSettings.baudRate = static_cast<u8>(*BaudRateOfSpeed(speed));
    std::vector<TerminalResult> results(static_cast<std::size_t>(count));
    const double wall0 = WallSeconds(), cpu0 = CpuSeconds();
    RunSideBySide(results.size(), [&](std::size_t i) {
        SystemLineFactory lines(peers.paths[i]);
        MonotonicClock clock;
        const std::string file = dataFolder.empty() ? "" : dataFolder + "/" + std::to_string(i) + ".TXT";
        TerminalJob plan{job, Transport::Direct, LookupEncoding::Auto, 0, file, peers.paths[i]};
        results[i] = RunSession(plan, t, lines, clock, board, i);
    });
    Figures f;
    f.wall = WallSeconds() - wall0;
    f.cpu = CpuSeconds() - cpu0;
    StopPeers(peers);
    for (const TerminalResult& r : results) {
        f.ok = f.ok && r.exitCode == 0;
        // The terminals share no line: the slowest one's bytes set the time.
        f.wire = std::max(f.wire, static_cast<double>(r.bytes) * 10 / speed);
    }
    return f;
}

void WriteRecords(const std::string& path, int count) {
    std::ofstream records(path);
    for (int i = 0; i < count; ++i)
        records << "4710000" << 100000 + i << "," << i % 97 << ",SHELF-" << i % 13 << "\n";
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n == 0 ? 0 : n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace k52::bench
