// Every schedule of up to three faults over four records, for receive and for lookup download, on the
// in-memory line and the virtual clock: what the terminal holds must match what the host reports.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "support/LinkHarness.h"

namespace k52::test {
namespace {

// A schedule is a set of faults in the peer's own language.
using Schedule = std::vector<std::string>;

std::vector<Schedule> AllSchedules(const std::vector<std::string>& singles, std::size_t maxFaults) {
    std::vector<Schedule> all{{}};
    std::vector<Schedule> layer{{}};
    std::vector<std::size_t> lastIndex{0};
    for (std::size_t depth = 1; depth <= maxFaults; ++depth) {
        std::vector<Schedule> next;
        std::vector<std::size_t> nextLast;
        for (std::size_t s = 0; s < layer.size(); ++s) {
            for (std::size_t i = depth == 1 ? 0 : lastIndex[s] + 1; i < singles.size(); ++i) {
                Schedule grown = layer[s];
                grown.push_back(singles[i]);
                next.push_back(grown);
                nextLast.push_back(i);
            }
        }
        all.insert(all.end(), next.begin(), next.end());
        layer = std::move(next);
        lastIndex = std::move(nextLast);
    }
    return all;
}

PeerOptions OptionsFor(const Schedule& schedule) {
    PeerOptions o;
    for (const std::string& text : schedule) {
        std::string error;
        auto f = ParsePeerFault(text, &error);
        EXPECT_TRUE(f.has_value()) << error;
        if (f) o.faults.push_back(*f);
    }
    return o;
}

std::string Describe(const Schedule& schedule) {
    std::string s;
    for (const std::string& f : schedule) s += " --fault " + f;
    return s.empty() ? " (no fault)" : s;
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Records written to a memory-backed folder when there is one: the search fsyncs tens of thousands
// of times.
std::string ScratchDir() {
    struct stat st {};
    const char* base = stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) ? "/dev/shm" : "/tmp";
    std::string name = std::string(base) + "/k52-search-XXXXXX";
    return mkdtemp(name.data());
}

TEST(FaultSearch, ReceiveKeepsExactlyWhatTheTerminalCountsAsAcknowledged) {
    std::vector<std::string> singles;
    for (int n = 0; n < 6; ++n) {
        const std::string i = std::to_string(n);
        for (const char* kind : {"late-frame=%:700", "late-frame=%:1300", "lose-frame=%", "garble-frame=%",
                                 "lose-reply=%", "garble-reply=%", "late-reply=%:700"}) {
            std::string f = kind;
            f.replace(f.find('%'), 1, i);
            singles.push_back(f);
        }
    }
    for (int r = 0; r < 4; ++r) singles.push_back("repeat-record=" + std::to_string(r));
    const std::vector<Schedule> schedules = AllSchedules(singles, 3);

    const std::vector<std::string> records = {"r0", "r1", "r2", "r3"};
    const std::string dir = ScratchDir();
    const std::string path = dir + "/data.txt";
    int succeeded = 0;
    for (const Schedule& schedule : schedules) {
        PeerOptions o = OptionsFor(schedule);
        for (const std::string& r : records) o.records.push_back(B(r));
        Harness h(std::move(o));
        h.ui.dataChoice = path;
        std::remove(path.c_str());
        const TransferOutcome& outcome = h.Receive();
        const int acknowledged = h.peer.report().recordsAcknowledged;
        std::string expected, oneMore;
        for (int i = 0; i < acknowledged; ++i) expected += records[static_cast<std::size_t>(i)] + "\r\n";
        if (acknowledged < 4) oneMore = expected + records[static_cast<std::size_t>(acknowledged)] + "\r\n";
        const std::string got = Contents(path);
        if (outcome.Succeeded()) {
            ++succeeded;
            ASSERT_TRUE(h.peer.report().uploadComplete) << Describe(schedule);
            ASSERT_EQ(got, expected) << Describe(schedule);
            ASSERT_EQ(outcome.recordsStored, acknowledged) << Describe(schedule);
        } else {
            ASSERT_TRUE(got == expected || got == oneMore) << Describe(schedule) << "\n" << got;
            ASSERT_EQ(outcome.lastMayComeAgain, outcome.recordsStored > 0) << Describe(schedule);
        }
        ASSERT_LT(h.clock.NowMs(), 60000) << Describe(schedule);
    }
    std::remove(path.c_str());
    rmdir(dir.c_str());
    std::printf("[ receive  ] %zu schedules of up to 3 faults over 4 records, %d ended with OVER\n",
                schedules.size(), succeeded);
}

TEST(FaultSearch, LookupDownloadNeverDuplicatesUnsaid) {
    std::vector<std::string> singles;
    for (int n = 0; n < 7; ++n) {
        const std::string i = std::to_string(n);
        for (const char* kind : {"lose-packet=%", "garble-packet=%", "lose-answer=%", "late-answer=%:3100",
                                 "late-answer=%:6500"}) {
            std::string f = kind;
            f.replace(f.find('%'), 1, i);
            singles.push_back(f);
        }
    }
    const std::vector<Schedule> schedules = AllSchedules(singles, 3);

    const std::vector<Bytes> records = {B("L0"), B("L1"), B("L2"), B("L3")};
    const std::string dir = ScratchDir();
    const std::string path = dir + "/lookup.txt";
    std::ofstream(path, std::ios::binary) << "L0\r\nL1\r\nL2\r\nL3\r\n";
    int clean = 0, warned = 0;
    for (const Schedule& schedule : schedules) {
        Harness h(OptionsFor(schedule));
        h.ui.lookupChoice = path;
        const TransferOutcome& outcome = h.Download(Transport::Direct, Payload::Lookup);
        const PeerReport& held = h.peer.report();
        if (outcome.Succeeded()) {
            ++clean;
            ASSERT_TRUE(held.lookupComplete) << Describe(schedule);
            ASSERT_EQ(held.lookupRecords, records) << Describe(schedule);
        } else if (outcome.failure == LinkFailure::MaybeDuplicated) {
            ++warned;
            ASSERT_TRUE(held.lookupComplete) << Describe(schedule);
            // Each line named may stand more than once, the copies side by side; nothing else may differ.
            std::vector<Bytes> seen = held.lookupRecords;
            for (long line : outcome.duplicateLines) {
                const Bytes& r = records[static_cast<std::size_t>(line - 1)];
                seen.erase(std::unique(seen.begin(), seen.end(),
                                       [&](const Bytes& a, const Bytes& b) { return a == r && b == r; }),
                           seen.end());
            }
            ASSERT_EQ(seen, records) << Describe(schedule);
        } else {
            ASSERT_EQ(outcome.failure, LinkFailure::TransferFailed) << Describe(schedule);
        }
        ASSERT_LT(h.clock.NowMs(), 120000) << Describe(schedule);
    }
    std::remove(path.c_str());
    rmdir(dir.c_str());
    std::printf("[ lookup   ] %zu schedules of up to 3 faults over 4 records: %d clean, %d warned\n",
                schedules.size(), clean, warned);
}

}  // namespace
}  // namespace k52::test
