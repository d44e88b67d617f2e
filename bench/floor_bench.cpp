// The engine against this machine's floor: k52cli's engine and a minimal host (FloorHosts.cpp) take
// turns on fresh paced k52peer processes, so both see the same load. The download is compared in this
// process phase by phase, and again as whole programs (k52cli against floor_host), so that a program's
// start shows apart from its exchange.
//
//   floor_bench [ROUNDS] [download|programs|receive]     (default 5 rounds of all three)
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BenchPeers.h"
#include "EngineRuns.h"
#include "FloorHosts.h"
#include "app/TerminalJob.h"
#include "cli/CliSupport.h"
#include "line/Clock.h"
#include "line/SerialLine.h"
#include "protocol/DownloadImage.h"
#include "protocol/LineSpeeds.h"
#include "protocol/Protocol.h"

namespace {

using namespace k52;
using namespace k52::bench;
using k52::JobKind;

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

// Runs each of `turns` once per round, rotating which goes first, so that none always meets a cold or
// a warm machine.
void TakeTurns(int rounds, const std::vector<std::function<void()>>& turns) {
    for (int i = 0; i < rounds; ++i)
        for (std::size_t k = 0; k < turns.size(); ++k)
            turns[(k + static_cast<std::size_t>(i)) % turns.size()]();
}

// ---- the download in this process, phase by phase

// Seconds from a download's start to: its line opened and set, its handshake answered (and, for the
// engine, its image built), its last packet answered, and its end (the engine closes its port).
struct Split {
    double opened = 0, greeted = 0, sent = 0, end = 0, wire = 0;
    bool ok = false;
};

// The engine's phases, stamped as its progress reports them.
class PhaseStamps : public JobBoard {
  public:
    explicit PhaseStamps(double start) : start_(start) {}
    void Message(const std::string&) override {}
    void Progress(const TransferProgress& p) override {
        const double at = WallSeconds() - start_;
        if (p.phase == TransferPhase::Handshake && split.opened == 0) split.opened = at;
        if (p.phase == TransferPhase::SendingPacket && p.done == 0) split.greeted = at;
        if (p.phase == TransferPhase::SendingPacket && p.done == p.total) split.sent = at;
    }
    Split split;

  private:
    double start_;
};

// The job k52cli runs for each terminal, without its progress board.
Split TimeEngineDownload() {
    Peers peers = StartPeers({"--pace"});
    ApplicationTemplate t = StartupTemplate();
    t.portSettings.baudRate = static_cast<u8>(*BaudRateOfSpeed(kSpeed));
    const double start = WallSeconds();
    SystemLineFactory lines(peers.paths[0]);
    MonotonicClock clock;
    PhaseStamps stamps(start);
    const TerminalJob job{JobKind::Program, Transport::Direct, LookupEncoding::Auto, 0, "", peers.paths[0]};
    const JobResult r = RunTerminalJob(job, std::move(t), lines, clock, stamps);
    Split s = stamps.split;
    s.end = WallSeconds() - start;
    StopPeers(peers);
    s.wire = static_cast<double>(r.bytes) * 10 / kSpeed;
    s.ok = r.outcome.Succeeded();
    return s;
}

Split TimeFloorDownload(const std::vector<u8>& packets, bool discardFirst) {
    Peers peers = StartPeers({"--pace"});
    const FloorRun r = FloorDownload(peers.paths[0].c_str(), kSpeed, packets.data(), kImagePacketCount,
                                     kImagePacketSize, discardFirst);
    StopPeers(peers);
    return {r.opened, r.greeted, r.wall, r.wall, static_cast<double>(r.bytes) * 10 / kSpeed, r.ok};
}

double MedianMs(const std::vector<Split>& runs, double (*part)(const Split&)) {
    std::vector<double> values;
    for (const Split& s : runs) values.push_back(1000 * part(s));
    return Median(values);
}

double TotalMs(const std::vector<Split>& runs) {
    return MedianMs(runs, [](const Split& s) { return s.end; });
}

// The floor twice: as it is, and dropping what waits on the line before each send as the engine does.
// On a pseudo-terminal that read and flush, coming right after the reply, wait for the kernel's tty
// worker still delivering it, and the next write's bytes then go out through another: the second floor
// shows what that costs any host that keeps the promise.
void CompareDownloads(int rounds, const std::vector<u8>& packets) {
    std::vector<Split> engine, floor, discarding;
    TakeTurns(rounds, {[&] { engine.push_back(TimeEngineDownload()); },
                       [&] { floor.push_back(TimeFloorDownload(packets, false)); },
                       [&] { discarding.push_back(TimeFloorDownload(packets, true)); }});
    std::printf("Paced program download at %u bps in this process, wire %.1f ms, %d rounds, medians in ms:\n",
                kSpeed, MedianMs(engine, [](const Split& s) { return s.wire; }), rounds);
    std::printf("                      line set up  handshake  105 packets  (each)  port closed    total\n");
    bool ok = true;
    for (const auto& [name, runs] : {std::pair{"engine", &engine}, std::pair{"floor", &floor},
                                     std::pair{"floor + discard", &discarding}}) {
        for (const Split& s : *runs) ok = ok && s.ok;
        std::printf("  %-18s %11.2f  %9.2f  %11.1f  %6.3f  %11.2f  %7.1f\n", name,
                    MedianMs(*runs, [](const Split& s) { return s.opened; }),
                    MedianMs(*runs, [](const Split& s) { return s.greeted - s.opened; }),
                    MedianMs(*runs, [](const Split& s) { return s.sent - s.greeted; }),
                    MedianMs(*runs, [](const Split& s) { return (s.sent - s.greeted) / kImagePacketCount; }),
                    MedianMs(*runs, [](const Split& s) { return s.end - s.sent; }), TotalMs(*runs));
    }
    const double e = TotalMs(engine), f = TotalMs(floor), d = TotalMs(discarding);
    std::printf("  engine / floor  x%.4f (%+.2f%%)    engine / floor + discard  x%.4f (%+.2f%%)%s\n", e / f,
                100 * (e - f) / f, e / d, 100 * (e - d) / d, ok ? "" : "  FAILED");
}

// ---- the download by whole programs

struct ProgramRuns {
    const char* name;
    std::vector<double> whole, start;  // seconds from start to exit: a download, and with no device
    bool ok = true;
};

// Times `args` once on a fresh paced peer (DEVICE in `args` becomes its path) and once with a device
// that is not there, which leaves what starting and ending the program costs; each run must end with
// its exit status (`downloaded`, `refused`).
void TimeBoth(ProgramRuns& runs, std::vector<std::string> args, const std::string& absent, int downloaded,
              int refused) {
    const auto device = std::find(args.begin(), args.end(), "DEVICE");
    Peers peers = StartPeers({"--pace"});
    *device = peers.paths[0];
    int status = -1;
    runs.whole.push_back(TimeProgram(args, &status));
    StopPeers(peers);
    runs.ok = runs.ok && status == downloaded;
    *device = absent;
    runs.start.push_back(TimeProgram(args, &status));
    runs.ok = runs.ok && status == refused;
}

void ComparePrograms(int rounds, const std::vector<u8>& packets) {
    const std::string folder = "/tmp/k52-floor-bench-" + std::to_string(getpid());
    if (mkdir(folder.c_str(), 0700) != 0) return;
    const std::string templ = folder + "/start.k52", packetFile = folder + "/packets",
                      absent = folder + "/absent";
    std::ofstream(packetFile, std::ios::binary)
        .write(reinterpret_cast<const char*>(packets.data()), static_cast<std::streamsize>(packets.size()));
    int status = -1;
    TimeProgram({K52CLI_PATH, "new", templ}, &status);
    const std::string speed = std::to_string(kSpeed);
    ProgramRuns k52cli{"k52cli", {}, {}, status == 0}, host{"floor_host", {}, {}, true};
    TakeTurns(rounds, {[&] {
                           TimeBoth(k52cli,
                                    {K52CLI_PATH, "download", "--quiet", "--device", "DEVICE", "--speed",
                                     speed, templ},
                                    absent, cli::kExitOk, cli::kExitPort);
                       },
                       [&] {
                           TimeBoth(host, {FLOOR_HOST_PATH, "DEVICE", speed, packetFile}, absent, 0, 1);
                       }});
    std::filesystem::remove_all(folder);

    std::printf(
        "The same download by whole programs, each started and waited for, %d rounds, medians in ms:\n",
        rounds);
    std::printf("              download  no device (start and exit)  the difference\n");
    for (const ProgramRuns* r : {&k52cli, &host})
        std::printf("  %-10s %9.1f  %26.2f  %14.1f%s\n", r->name, 1000 * Median(r->whole),
                    1000 * Median(r->start), 1000 * (Median(r->whole) - Median(r->start)),
                    r->ok ? "" : "  FAILED");
    const double c = Median(k52cli.whole), f = Median(host.whole);
    const double cx = c - Median(k52cli.start), fx = f - Median(host.start);
    std::printf("  k52cli / floor_host  x%.4f (%+.2f%%); less each one's start and exit  x%.4f (%+.2f%%)\n",
                c / f, 100 * (c - f) / f, cx / fx, 100 * (cx - fx) / fx);
}

// ---- the receive

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

void PrintPair(const std::vector<double>& engine, const std::vector<double>& floor, double wire, bool ok) {
    const double e = Median(engine), f = Median(floor);
    std::printf("  engine  median %.3f s  (x%.4f of the wire, min %.3f, max %.3f)\n", e, e / wire,
                *std::min_element(engine.begin(), engine.end()),
                *std::max_element(engine.begin(), engine.end()));
    std::printf("  floor   median %.3f s  (x%.4f of the wire, min %.3f, max %.3f)\n", f, f / wire,
                *std::min_element(floor.begin(), floor.end()), *std::max_element(floor.begin(), floor.end()));
    std::printf("  engine / floor  x%.4f (%+.2f%%)%s\n", e / f, 100 * (e - f) / f, ok ? "" : "  FAILED");
}

// Files on disk: the cost of each record's sync is part of what is measured.
void CompareReceives(int rounds) {
    const std::string folder = "/tmp/k52-floor-bench-" + std::to_string(getpid());
    if (mkdir(folder.c_str(), 0700) != 0) return;
    const std::string records = folder + "/records.txt";
    WriteRecords(records, 1000);
    std::vector<double> engine, floor, wire;
    bool ok = true;
    auto add = [&](std::vector<double>& to, const Figures& f) {
        to.push_back(f.wall);
        wire.push_back(f.wire);
        ok = ok && f.ok;
    };
    TakeTurns(rounds, {[&] {
                           add(engine, Serve(4, JobKind::Receive, kSpeed, {"--records", records}, folder));
                           // A receive never replaces a file: clear the engine's outputs for the next round.
                           for (const auto& entry : std::filesystem::directory_iterator(folder))
                               if (entry.path() != records) std::filesystem::remove(entry.path());
                       },
                       [&] { add(floor, FloorRecords(4, records, folder)); }});
    std::printf("4 paced terminals x 1000 records at %u bps, each record synced before its ACK, on %s:\n",
                kSpeed, "/tmp");
    PrintPair(engine, floor, Median(wire), ok);
    std::filesystem::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const char* only = argc > 2 ? argv[2] : nullptr;
    auto wanted = [only](const char* part) { return !only || std::strcmp(only, part) == 0; };
    const std::vector<u8> packets = ProgramPackets();
    if (wanted("download")) CompareDownloads(rounds, packets);
    if (wanted("programs")) ComparePrograms(rounds, packets);
    if (wanted("receive")) CompareReceives(rounds);
    return 0;
}
