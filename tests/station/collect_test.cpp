// The collection station on the virtual clock: terminals that answer late, upload twice, are cut off,
// stopped or unplugged; every upload's file and ledger row.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "station/StationHarness.h"

namespace k52::test {
namespace {

TEST(Collect, ALateTerminalIsAskedUntilItAnswersAndEachUploadGetsItsOwnFile) {
    Station s({{7, Options({}, Records("A", 3))}, {0, Options({}, {})}, {2, Options({}, Records("B", 2))}});
    const std::vector<UploadRow> rows = s.Run(3, /*frozenWallClock=*/true);

    ASSERT_EQ(rows.size(), 3u);
    EXPECT_GT(s.lines.log.opened.size(), 3u);  // the first terminal kept quiet through several polls
    EXPECT_EQ(s.events.Count(CollectEventKind::Started), 3);
    EXPECT_EQ(s.events.Count(CollectEventKind::Problem), 0);
    // Same second each time: the later upload takes "-2", and the empty one leaves no file.
    const char* outcomes[] = {"complete", "empty", "complete"};
    const int records[] = {3, 0, 2};
    const char* files[] = {"ttyUSB3/2024-05-01_000000.TXT", "", "ttyUSB3/2024-05-01_000000-2.TXT"};
    const std::string contents[] = {Lines("A", 3), "", Lines("B", 2)};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].outcome, outcomes[i]) << i;
        EXPECT_EQ(rows[i].records, records[i]) << i;
        EXPECT_EQ(rows[i].file, files[i]) << i;
        EXPECT_EQ(rows[i].terminal, "ttyUSB3");
        EXPECT_EQ(rows[i].byId, s.port.byId);
        EXPECT_EQ(rows[i].started, "2024-05-01T00:00:00+00:00");
        if (*files[i] == '\0') continue;
        EXPECT_EQ(s.Read(files[i]), contents[i]) << i;
        EXPECT_EQ(rows[i].sha256, Sha256Hex(contents[i])) << i;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(s.dir.path() / "ttyUSB3"), {}), 2);
}

TEST(Collect, AnUploadCutOffOrStoppedKeepsItsAcknowledgedRecords) {
    struct Case {
        const char* what;
        std::vector<const char*> faults;
        bool stopAfterTwo;
        const char* outcome;
    };
    const Case cases[] = {
        {"terminal falls silent", {"silent-after=2"}, false, "partial"},
        {"stopped by a signal", {}, true, "interrupted"},
    };
    for (const Case& c : cases) {
        PeerOptions options;
        for (const char* f : c.faults) options.faults.push_back(*ParsePeerFault(f));
        options.records = Records("R", 5);
        Station s({{0, std::move(options)}});
        if (c.stopAfterTwo)
            s.clock.hook = [&](std::int64_t) {
                if (s.cradle.Acknowledged() >= 2) s.stop.store(true);
            };
        const std::vector<UploadRow> rows = s.Run(1);
        ASSERT_EQ(rows.size(), 1u) << c.what;
        EXPECT_EQ(rows[0].outcome, c.outcome) << c.what;
        EXPECT_EQ(rows[0].records, 2) << c.what;
        EXPECT_FALSE(rows[0].message.empty()) << c.what;
        EXPECT_EQ(s.Read(rows[0].file), Lines("R", 2)) << c.what;
        EXPECT_EQ(rows[0].sha256, Sha256Hex(Lines("R", 2))) << c.what;
    }
}

TEST(Collect, APortThatDisappearsIsSaidOnceAndServedAgainWhenItComesBack) {
    Station s({{0, Options({}, Records("C", 1))}});
    s.lines.refuseOpen = true;
    s.clock.hook = [&](std::int64_t now) { s.lines.refuseOpen = now < 60000; };
    const std::vector<UploadRow> rows = s.Run(1);
    EXPECT_EQ(s.events.Count(CollectEventKind::PortGone), 1);
    EXPECT_EQ(s.events.Count(CollectEventKind::PortBack), 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].outcome, "complete");
    EXPECT_EQ(rows[0].started, "2024-05-01T00:01:00+00:00");
    EXPECT_EQ(s.Read("ttyUSB3/2024-05-01_000100.TXT"), Lines("C", 1));
}

TEST(Collect, WhatAKilledStationLeftGetsItsRowBeforeServing) {
    Station s({});
    std::filesystem::create_directories(s.dir.path() / "ttyUSB3");
    s.dir.Write("ttyUSB3/2024-05-01_000000.TXT", Lines("A", 2));                 // stored, row never written
    s.dir.Write("ttyUSB3/2024-05-01_000100.TXT.999999.partial", Lines("B", 3));  // cut off mid-upload
    CollectStation station(s.dir.path().string(), 5000, s.stop, *s.ledger, s.events, [] { return kMay1; });
    EXPECT_EQ(station.Recover(), 2);
    EXPECT_EQ(station.Recover(), 0);  // once in the ledger, a file is known
    std::string reason;
    const std::vector<UploadRow> rows = *s.ledger->List("", "", &reason);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].file, "ttyUSB3/2024-05-01_000000.TXT");
    EXPECT_EQ(rows[0].outcome, "partial");
    EXPECT_EQ(rows[0].records, 2);
    EXPECT_EQ(rows[1].file, "ttyUSB3/2024-05-01_000100.TXT");
    EXPECT_EQ(rows[1].outcome, "interrupted");
    EXPECT_EQ(rows[1].records, 3);
    EXPECT_EQ(rows[1].sha256, Sha256Hex(Lines("B", 3)));
    EXPECT_EQ(s.Read("ttyUSB3/2024-05-01_000100.TXT"), Lines("B", 3));
}

// The discovery loop: ports the host shows are served by their stable names, one plugged in later is
// taken up too, each on a thread of its own with its own line and clock.
TEST(StationRunner, ServesEveryPortTheScannerShowsAndThosePluggedInLater) {
    struct Scanner : PortScanner {
        int scans = 0;
        std::vector<DiscoveredPort> Scan() override {
            std::vector<DiscoveredPort> ports(++scans < 3 ? 1 : 2);
            ports[0].device = "/dev/ttyUSB0";
            ports[0].byId = "/dev/serial/by-id/usb-K52_A-if00";
            if (ports.size() > 1) ports[1].device = "/dev/ttyUSB1";
            return ports;
        }
    } scanner;
    struct Terminal {
        VirtualClock clock;
        Cradle cradle;
    };
    std::map<std::string, std::unique_ptr<Terminal>> terminals;
    for (const char* name : {"/dev/serial/by-id/usb-K52_A-if00", "/dev/ttyUSB1"})
        terminals[name] = std::make_unique<Terminal>(
            Terminal{VirtualClock{}, Cradle({{0, Options({}, Records(name[5] == 's' ? "A" : "B", 2))}})});
    struct ClockRef : Clock {
        explicit ClockRef(Clock& c) : clock(c) {}
        std::int64_t NowMs() override { return clock.NowMs(); }
        void SleepUntil(std::int64_t until) override { clock.SleepUntil(until); }
        Clock& clock;
    };
    setenv("TZ", "UTC0", 1);
    tzset();
    TempDir dir;
    std::string reason;
    std::optional<Ledger> ledger = Ledger::Open(dir.path().string(), &reason);
    ASSERT_TRUE(ledger) << reason;
    StopFlag stop{false};
    Events events;
    events.onEvent = [&](const CollectEvent&) {
        if (events.Count(CollectEventKind::Finished) >= 2) stop.store(true);
    };
    CollectStation station(dir.path().string(), 5000, stop, *ledger, events, [] { return kMay1; });
    {
        StationRunner runner(station, stop, [&](const CollectPort& port) {
            Terminal& t = *terminals.at(port.device);
            PortLine line;
            line.lines = std::make_unique<MemoryLineFactory>(t.clock, &t.cradle);
            line.clock = std::make_unique<ClockRef>(t.clock);
            return line;
        });
        VirtualClock discovery;
        runner.ServeDiscovered(scanner, 5000, discovery);
    }
    EXPECT_GE(scanner.scans, 3);
    const std::vector<UploadRow> rows = *ledger->List("", "", &reason);
    ASSERT_EQ(rows.size(), 2u);
    std::set<std::string> served;
    for (const UploadRow& r : rows) {
        served.insert(r.device);
        EXPECT_EQ(r.outcome, "complete");
        EXPECT_EQ(r.records, 2);
    }
    EXPECT_EQ(served, (std::set<std::string>{"/dev/serial/by-id/usb-K52_A-if00", "/dev/ttyUSB1"}));
    EXPECT_EQ(dir.Read("usb-K52_A-if00/2024-05-01_000000.TXT"), Lines("A", 2));
    EXPECT_EQ(dir.Read("ttyUSB1/2024-05-01_000000.TXT"), Lines("B", 2));
}

}  // namespace
}  // namespace k52::test
