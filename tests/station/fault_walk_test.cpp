// Every file and ledger call of one upload, made to fail (EIO, ENOSPC) or to kill the station right
// before it, each in a child process; then a restart's recovery, and the invariants: every record the
// terminal counts as acknowledged is in exactly one stored file, one row with the right counts and hash,
// no row left "receiving", no partial file, and no stored file without a row.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "station/Recovery.h"
#include "station/StationHarness.h"
#include "util/FaultPoint.h"

namespace k52::test {
namespace {

constexpr int kRecords = 4;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// One station on one port with one terminal, in the folder the parent checks.
struct Child {
    explicit Child(const std::string& folder)
        : cradle({{0, Options({}, Records("W", kRecords))}}), lines(clock, &cradle) {
        std::string reason;
        ledger.emplace(*Ledger::Open(folder, &reason));
        port.device = "/dev/ttyUSB3";
        port.lines = &lines;
        port.tmpl = StartupTemplate();
    }
    void Serve(const std::string& folder) {
        CollectStation station(folder, 5000, stop, *ledger, events, [] { return kMay1; });
        station.Serve(port, clock);
    }
    HookClock clock;
    Cradle cradle;
    MemoryLineFactory lines;
    StopFlag stop{false};
    std::optional<Ledger> ledger;
    Events events;
    CollectPort port;
};

// One upload in a child under `plan`; the terminal's acknowledged count comes back through a pipe as
// it grows, so that a kill leaves the last one there.
int UploadUnder(const std::string& folder, int at, int error) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        Child s(folder);
        int told = 0;
        s.clock.hook = [&](std::int64_t) {
            const char n = static_cast<char>(s.cradle.Acknowledged());
            if (n != told && write(fds[1], &n, 1) == 1) told = n;
        };
        FaultPlan plan;
        plan.at = at;
        plan.error = error;
        SetFaultPlan(&plan);
        // The upload's end, or the answer refused: either way this station is done.
        s.events.onEvent = [&](const CollectEvent& e) {
            if (e.kind != CollectEventKind::Started) s.stop.store(true);
        };
        s.Serve(folder);
        const char calls = static_cast<char>(100 + plan.calls.load());
        [[maybe_unused]] const ssize_t w = write(fds[1], &calls, 1);
        _exit(0);
    }
    close(fds[1]);
    int acknowledged = 0;
    for (char c; read(fds[0], &c, 1) == 1;) acknowledged = c < 100 ? c : acknowledged;
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return acknowledged;
}

// The calls of one upload without a fault, counted in a child.
int CallsOfOneUpload(const std::string& folder) {
    int fds[2];
    if (pipe(fds) != 0) return 0;
    const pid_t child = fork();
    if (child == 0) {
        Child s(folder);
        FaultPlan plan;
        SetFaultPlan(&plan);
        s.events.onEvent = [&](const CollectEvent& e) {
            if (e.kind == CollectEventKind::Finished) s.stop.store(true);
        };
        s.Serve(folder);
        const int calls = plan.calls.load();
        [[maybe_unused]] const ssize_t w = write(fds[1], &calls, sizeof calls);
        _exit(0);
    }
    int calls = 0;
    [[maybe_unused]] const ssize_t r = read(fds[0], &calls, sizeof calls);
    close(fds[0]);
    close(fds[1]);
    waitpid(child, nullptr, 0);
    return calls;
}

std::string Check(const std::string& folder, int acknowledged) {
    std::string reason;
    std::optional<Ledger> ledger = Ledger::Open(folder, &reason);
    StopFlag stop{false};
    struct : CollectObserver {
        void OnEvent(const CollectEvent&) override {}
    } quiet;
    CollectStation restart(folder, 5000, stop, *ledger, quiet, [] { return kMay1; });
    restart.Recover();
    const std::vector<UploadRow> rows = *ledger->List("", "", &reason);
    std::string all;
    for (const UploadRow& r : rows) {
        if (r.outcome == "receiving") return "a row is left receiving";
        if (r.file.empty()) continue;
        const std::string bytes = ReadFile(folder + "/" + r.file);
        if (Sha256Hex(bytes) != r.sha256) return r.file + ": hash differs";
        if (static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) != r.records) return "wrong count";
        if (r.acknowledged > r.records) return "more acknowledged than stored";
        all += bytes;
    }
    if (acknowledged > 0 && rows.size() != 1) return std::to_string(rows.size()) + " rows for one upload";
    for (int i = 0; i < kRecords; ++i) {
        const std::string line = "W" + std::to_string(i) + "\r\n";
        std::size_t n = 0;
        for (auto p = all.find(line); p != std::string::npos; p = all.find(line, p + 1)) ++n;
        if (i < acknowledged ? n != 1 : n > 1) return line + " stored " + std::to_string(n) + " times";
    }
    if (!FilesWithoutRow(folder, rows).empty()) return "a file without a row";
    for (const FolderFile& f : FilesInFolder(folder))
        if (f.partial) return "a partial file is left: " + f.relative;
    return "";
}

TEST(FaultWalk, EveryCallOfAnUploadFailedOrKilledLeavesALedgerThatTellsTheTruth) {
    setenv("TZ", "UTC0", 1);
    tzset();
    int total = 0;
    {
        TempDir dir;
        total = CallsOfOneUpload(dir.path().string());
    }
    ASSERT_GT(total, 8);
    int walked = 0;
    for (const int error : {0, EIO, ENOSPC}) {
        for (int at = 1; at <= total + 1; ++at) {
            TempDir dir;
            const int acknowledged = UploadUnder(dir.path().string(), at, error);
            EXPECT_EQ(Check(dir.path().string(), acknowledged), "")
                << (error == 0 ? "kill" : std::strerror(error)) << " at call " << at << ", " << acknowledged
                << " acknowledged";
            ++walked;
        }
    }
    std::printf("fault walk: %d calls in one upload, %d schedules walked\n", total, walked);
}

}  // namespace
}  // namespace k52::test
