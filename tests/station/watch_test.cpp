// What the station says beside its uploads, on the virtual clock: a terminal gone silent (in the status
// and metrics files too) and back, a low disk, and one station per port.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "station/StationHarness.h"
#include "station/StationStatus.h"
#include "util/LocalTime.h"

namespace k52::test {
namespace {

TEST(Watch, ASilentTerminalIsSaidOnceADayInStatusAndMetricsAndBackWhenItUploads) {
    // Silent for well over a day and a half of requests, then one upload.
    Station s({{40 * 3600 / 5 * 3, Options({}, Records("S", 2))}});
    std::string reason;
    StationStatus status(
        {"k52cli test", "desk", s.dir.path().string(), "id", 1, kMay1},
        {(s.dir.path() / "status.json").string(), (s.dir.path() / "metrics.prom").string()}, s.events,
        [&] { return kMay1 + s.clock.VirtualClock::NowMs() / 1000; },
        [](const std::string&) { return std::optional<std::uintmax_t>(1000); });
    status.AddPort(s.port);
    nlohmann::json silentStatus;
    std::string silentMetrics;
    s.events.onEvent = [&](const CollectEvent& e) {
        if (e.kind == CollectEventKind::Silent && silentMetrics.empty()) {
            silentStatus = nlohmann::json::parse(s.Read("status.json"));
            silentMetrics = s.Read("metrics.prom");
        }
        if (e.kind == CollectEventKind::Back) s.stop.store(true);
    };
    CollectStation station(s.dir.path().string(), 5000, s.stop, *s.ledger, status,
                           [&] { return kMay1 + s.clock.VirtualClock::NowMs() / 1000; });
    StationWatch watch;
    watch.silentAfterS = 12 * 3600;
    watch.diskLowBytes = 4096;
    watch.freeSpace = [](const std::string&) { return std::optional<std::uintmax_t>(1000); };
    station.SetWatch(watch);
    station.Serve(s.port, s.clock);

    // At 12 h and again a day later; back once it uploaded.
    ASSERT_GE(s.events.Count(CollectEventKind::Silent), 2);
    EXPECT_EQ(s.events.Count(CollectEventKind::Back), 1);
    std::vector<std::time_t> said;
    for (const CollectEvent& e : s.events.seen)
        if (e.kind == CollectEventKind::Silent) said.push_back(*ParseInstant(e.time));
    EXPECT_GE(said[0] - kMay1, 12 * 3600);
    EXPECT_LT(said[0] - kMay1, 12 * 3600 + 60);
    EXPECT_GE(said[1] - said[0], 24 * 3600);
    EXPECT_LT(said[1] - said[0], 24 * 3600 + 60);
    EXPECT_EQ(s.events.Count(CollectEventKind::DiskLow), 1);
    EXPECT_EQ(CollectEventKey(CollectEventKind::Silent), std::string("silent"));
    EXPECT_EQ(silentStatus["ports"][0]["silent"], true);
    EXPECT_EQ(silentStatus["ports"][0]["device"], "/dev/ttyUSB3");
    EXPECT_EQ(silentStatus["station"]["diskLow"], true);
    EXPECT_NE(
        silentMetrics.find("k52_terminal_silent{terminal=\"ttyUSB3\",device=\"/dev/ttyUSB3\",name=\"\"} 1"),
        std::string::npos);
    // Series known in advance are there at 0.
    EXPECT_NE(silentMetrics.find("k52_uploads_total{terminal=\"ttyUSB3\",outcome=\"complete\"} 0"),
              std::string::npos);

    const nlohmann::json after = nlohmann::json::parse(s.Read("status.json"));
    EXPECT_EQ(after["ports"][0]["silent"], false);
    EXPECT_EQ(after["ports"][0]["lastUpload"]["records"], 2);
    const std::string metrics = s.Read("metrics.prom");
    EXPECT_NE(metrics.find("k52_uploads_total{terminal=\"ttyUSB3\",outcome=\"complete\"} 1"),
              std::string::npos);
    EXPECT_NE(metrics.find("k52_records_total{terminal=\"ttyUSB3\",outcome=\"complete\"} 2"),
              std::string::npos);
}

TEST(Watch, ASecondStationSaysWhoServesThePortAndLeavesItAlone) {
    TempDir locks;
    const std::string path = PortLockPath(locks.path().string(), "/dev/ttyUSB3");
    StationHolder first{4711, "/srv/k52", "/srv/k52/status.json", "desk"};
    StationHolder who;
    std::string reason;
    std::optional<StationLock> held = StationLock::Take(path, first, &who, &reason);
    ASSERT_TRUE(held) << reason;
    ASSERT_TRUE(StationLock::HolderOf(path));
    EXPECT_EQ(StationLock::HolderOf(path)->pid, 4711u);

    Station s({{0, Options({}, Records("L", 1))}});
    int polls = 0;
    s.events.onEvent = [&](const CollectEvent& e) {
        if (e.kind == CollectEventKind::PortBusy) held.reset();  // the first station stops
        if (e.kind == CollectEventKind::Finished) s.stop.store(true);
        ++polls;
    };
    CollectStation station(s.dir.path().string(), 5000, s.stop, *s.ledger, s.events,
                           [&] { return kMay1 + s.clock.VirtualClock::NowMs() / 1000; });
    StationWatch watch;
    watch.lockDir = locks.path().string();
    station.SetWatch(watch);
    station.Serve(s.port, s.clock);

    ASSERT_EQ(s.events.Count(CollectEventKind::PortBusy), 1);
    const CollectEvent& busy = s.events.seen.front();
    ASSERT_TRUE(busy.servedBy);
    EXPECT_EQ(busy.servedBy->pid, 4711u);
    EXPECT_NE(busy.message.find("pid 4711"), std::string::npos);
    EXPECT_NE(busy.message.find("/srv/k52"), std::string::npos);
    // Taken up once the other station let go.
    EXPECT_EQ(s.events.Count(CollectEventKind::PortFree), 1);
    EXPECT_EQ(s.events.Count(CollectEventKind::Finished), 1);

    // The folder: one station at a time.
    StationHolder holder;
    EXPECT_TRUE(station.TakeFolder(&holder, &reason));
    CollectStation second(s.dir.path().string(), 5000, s.stop, *s.ledger, s.events, [] { return kMay1; });
    EXPECT_FALSE(second.TakeFolder(&holder, &reason));
    EXPECT_TRUE(reason.empty());
    EXPECT_EQ(holder.folder, s.dir.path().string());
}

}  // namespace
}  // namespace k52::test
