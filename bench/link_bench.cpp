// How long a program download over a pseudo-terminal takes and what it costs this process, and what
// waiting costs: k52peer plays the terminal in its own process.
//
//   link_bench [DOWNLOADS]     (default 20)
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "BenchPeers.h"
#include "line/Clock.h"
#include "line/SerialLine.h"
#include "template/Defaults.h"
#include "transfer/TerminalLink.h"

namespace {

using k52::bench::CpuSeconds;
using k52::bench::WallSeconds;

class QuietUi : public k52::TransferObserver {
  public:
    void OnProgress(const k52::TransferProgress&) override { ++reports; }
    long reports = 0;
};

struct Run {
    double wall, cpu;
    bool ok;
    long reports;
};

Run Download(const std::vector<std::string>& peerArgs) {
    k52::bench::Peers peer = k52::bench::StartPeers(peerArgs);
    k52::ApplicationTemplate t = k52::StartupTemplate();
    k52::SystemLineFactory lines(peer.paths.at(0));
    k52::MonotonicClock clock;
    QuietUi ui;
    k52::TerminalLink link(t, lines, clock);
    const double wall0 = WallSeconds(), cpu0 = CpuSeconds();
    const k52::TransferOutcome outcome = link.Download({}, ui);
    const double wall = WallSeconds() - wall0, cpu = CpuSeconds() - cpu0;
    k52::bench::StopPeers(peer);
    return {wall, cpu, outcome.Succeeded(), ui.reports};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int downloads = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    std::vector<double> walls, cpus;
    for (int i = 0; i < downloads; ++i) {
        Run r = Download({});
        if (!r.ok) {
            std::fprintf(stderr, "download %d failed\n", i + 1);
            return 1;
        }
        walls.push_back(r.wall * 1000);
        cpus.push_back(r.cpu * 1000);
    }
    std::printf(
        "Full program download (handshake + 105 packets of 103 bytes) over a pseudo-terminal, %d runs:\n",
        downloads);
    std::printf("  wall time  median %.2f ms, min %.2f ms, max %.2f ms\n", Median(walls),
                *std::min_element(walls.begin(), walls.end()), *std::max_element(walls.begin(), walls.end()));
    std::printf("  host CPU   median %.2f ms, min %.2f ms, max %.2f ms\n", Median(cpus),
                *std::min_element(cpus.begin(), cpus.end()), *std::max_element(cpus.begin(), cpus.end()));

    Run silent = Download({"--fault", "silent"});
    std::printf("Silent terminal (three unanswered handshakes, then No to the retry question):\n");
    std::printf("  wall time  %.3f s\n", silent.wall);
    std::printf("  host CPU   %.3f ms = %.4f%% of wall time (%ld progress reports)\n", silent.cpu * 1000,
                100.0 * silent.cpu / silent.wall, silent.reports);
    return 0;
}
