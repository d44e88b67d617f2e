// The engine against this machine's floor: k52cli's engine and a minimal host (FloorHosts.cpp) take
// turns on fresh paced k52peer processes, so both see the same load.
//
//   floor_bench [ROUNDS]     (default 5)
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "BenchPeers.h"
#include "EngineRuns.h"
#include "FloorHosts.h"
#include "cli/CliSupport.h"
#include "protocol/DownloadImage.h"
#include "protocol/Protocol.h"

namespace {

using namespace k52;
using namespace k52::bench;
using cli::TransferJob;

constexpr std::uint32_t kSpeed = 115200;

std::vector<u8> ProgramPackets() {
    ApplicationTemplate t = StartupTemplate();
    t.portSettings.baudRate = static_cast<u8>(*BaudRateOfSpeed(kSpeed));
    DownloadImageBuilder builder;
    builder.BuildDownloadImage(t);
    std::vector<u8> packets;
    for (int n = 0; n < kImagePacketCount; ++n) {
        const ImagePacket p = BuildImagePacket(builder.image().data() + kImagePacketData * std::size_t(n), n);
        packets.insert(packets.end(), p.begin(), p.end());
    }
    return packets;
}

Figures FloorProgram(const std::vector<u8>& packets) {
    Peers peers = StartPeers({"--pace"});
    const FloorRun r =
        FloorDownload(peers.paths[0].c_str(), kSpeed, packets.data(), kImagePacketCount, kImagePacketSize);
    StopPeers(peers);
    return {r.wall, 0, static_cast<double>(r.bytes) * 10 / kSpeed, r.ok};
}

Figures FloorRecords(int count, const std::string& records, const std::string& folder) {
    Peers peers = StartPeers({"--pace", "--count", std::to_string(count), "--records", records}, count);
    std::vector<FloorRun> runs(static_cast<std::size_t>(count));
    std::vector<std::thread> hosts;
    const double start = WallSeconds();
    for (std::size_t i = 0; i < runs.size(); ++i)
        hosts.emplace_back([&, i] {
            const std::string file = folder + "/floor-" + std::to_string(i) + ".TXT";
            runs[i] = FloorReceive(peers.paths[i].c_str(), kSpeed, file.c_str());
        });
    for (std::thread& h : hosts) h.join();
    Figures f;
    f.wall = WallSeconds() - start;
    StopPeers(peers);
    for (const FloorRun& r : runs) {
        f.ok = f.ok && r.ok;
        f.wire = std::max(f.wire, static_cast<double>(r.bytes) * 10 / kSpeed);
    }
    return f;
}

struct Pair {
    std::vector<double> engine, floor, wire;
    bool ok = true;
    void Add(const Figures& e, const Figures& f) {
        engine.push_back(e.wall);
        floor.push_back(f.wall);
        wire.push_back(e.wire);
        ok = ok && e.ok && f.ok;
    }
    void Print() const {
        const double e = Median(engine), f = Median(floor), w = Median(wire);
        std::printf("  engine  median %.3f s  (x%.4f of the wire, min %.3f, max %.3f)\n", e, e / w,
                    *std::min_element(engine.begin(), engine.end()),
                    *std::max_element(engine.begin(), engine.end()));
        std::printf("  floor   median %.3f s  (x%.4f of the wire, min %.3f, max %.3f)\n", f, f / w,
                    *std::min_element(floor.begin(), floor.end()),
                    *std::max_element(floor.begin(), floor.end()));
        std::printf("  engine / floor  x%.4f (%+.2f%%)%s\n", e / f, 100 * (e - f) / f, ok ? "" : "  FAILED");
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::vector<u8> packets = ProgramPackets();
    Pair program;
    for (int i = 0; i < rounds; ++i) {
        // Turns alternate which goes first, so neither always meets a cold or a warm machine.
        if (i % 2 == 0) {
            const Figures e = Serve(1, TransferJob::Program, kSpeed, {});
            program.Add(e, FloorProgram(packets));
        } else {
            const Figures f = FloorProgram(packets);
            program.Add(Serve(1, TransferJob::Program, kSpeed, {}), f);
        }
    }
    std::printf("Paced program download at %u bps, wire %.3f s, %d rounds:\n", kSpeed, Median(program.wire),
                rounds);
    program.Print();

    // Files on disk: the cost of each record's sync is part of what is measured.
    const std::string folder = "/tmp/k52-floor-bench-" + std::to_string(getpid());
    if (mkdir(folder.c_str(), 0700) != 0) return 1;
    WriteRecords(folder + "/records.txt", 1000);
    Pair receive;
    for (int i = 0; i < rounds; ++i) {
        if (i % 2 == 0) {
            const Figures e =
                Serve(4, TransferJob::Receive, kSpeed, {"--records", folder + "/records.txt"}, folder);
            receive.Add(e, FloorRecords(4, folder + "/records.txt", folder));
        } else {
            const Figures f = FloorRecords(4, folder + "/records.txt", folder);
            receive.Add(
                Serve(4, TransferJob::Receive, kSpeed, {"--records", folder + "/records.txt"}, folder), f);
        }
        // A receive never replaces a file: clear the engine's outputs for the next round.
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.path().filename() != "records.txt") std::filesystem::remove(entry.path());
    }
    std::printf("4 paced terminals x 1000 records at %u bps, each record synced before its ACK, on %s:\n",
                kSpeed, "/tmp");
    receive.Print();
    std::filesystem::remove_all(folder);
    return 0;
}
