// The forwarder when things go wrong against a real PostgreSQL: stations at once, the server gone
// mid-upload, a kill between the central commit and the local mark, a refusing server beside a station
// that keeps collecting, and an upload of 100k records.
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "central/CentralFixture.h"
#include "line/Clock.h"
#include "station/Forwarder.h"
#include "station/StationHarness.h"
#include "station/StationStatus.h"
#include "support/VirtualClock.h"
#include "util/FaultPoint.h"

namespace k52::test {
namespace {

using CentralFaults = CentralTest;

constexpr std::time_t kDay = 1714521600;

std::time_t Noon() {
    return kDay + 43200;
}

// Delivers what waits in `folder` with a forwarder of its own, until nothing does (or `passes` run out).
Forwarder::Pass Settle(const std::string& folder, const std::string& url, int passes = 5) {
    VirtualClock clock;
    StopFlag stop{false};
    Forwarder forwarder(folder, url, clock, stop, Noon);
    Forwarder::Pass last;
    for (int i = 0; i < passes; ++i) {
        last = forwarder.RunOnce();
        if (last.failed == 0) break;
    }
    return last;
}

TEST_F(CentralFaults, TwoStationsEachWithTwoForwardersAtOnceStoreEveryUploadOnce) {
    Init();
    Folder a, b;
    int records = 0;
    for (int i = 0; i < 40; ++i) {
        a.Add(i % 2 ? "T1" : "T2", Numbered("A" + std::to_string(i) + "-", 20 + i), kDay + i * 60);
        b.Add(i % 2 ? "T1" : "T2", Numbered("B" + std::to_string(i) + "-", 20 + i), kDay + i * 60 + 1);
        records += 2 * (20 + i);
    }
    // Collect's own forwarder and a one-off catch-up on each folder: the same uploads race each other.
    std::vector<std::thread> threads;
    for (const std::string& folder : {a.path(), b.path()})
        for (int twice = 0; twice < 2; ++twice)
            threads.emplace_back([folder, url = Url()] {
                VirtualClock clock;
                StopFlag stop{false};
                Forwarder forwarder(folder, url, clock, stop, Noon);
                forwarder.RunOnce();
            });
    for (std::thread& t : threads) t.join();
    // A mark lost to a busy ledger is caught up by the next pass, which finds the upload stored.
    EXPECT_EQ(Settle(a.path(), Url()).failed, 0);
    EXPECT_EQ(Settle(b.path(), Url()).failed, 0);

    EXPECT_EQ(Value("SELECT count(*) FROM uploads"), "80");
    EXPECT_EQ(Value("SELECT count(DISTINCT upload_key) FROM uploads"), "80");
    EXPECT_EQ(Value("SELECT count(*) FROM records"), std::to_string(records));
    EXPECT_EQ(Value("SELECT sum(records) FROM uploads"), std::to_string(records));
    EXPECT_EQ(Value("SELECT count(*) FROM stations"), "2");
    for (Folder* f : {&a, &b})
        for (const UploadRow& r : f->Rows()) EXPECT_FALSE(r.deliveredUtc.empty()) << r.key;
}

TEST_F(CentralFaults, AServerStoppedMidUploadGetsItOnceAndWholeAfterItStartsAgain) {
    Init();
    Folder f;
    const UploadRow row = f.Add("T1", Numbered("R", 9000), kDay);
    VirtualClock clock;
    StopFlag stop{false};
    ForwarderOptions options;
    bool stopped = false;
    options.progress = [&](const UploadRow&, std::size_t sent) {
        if (stopped || sent == 0 || sent >= 9000) return;
        std::string reason;
        ASSERT_TRUE(server->Stop(&reason)) << reason;
        stopped = true;
    };
    Forwarder forwarder(f.path(), Url(), clock, stop, Noon, options);
    const Forwarder::Pass broken = forwarder.RunOnce();
    std::string reason;
    ASSERT_TRUE(stopped);
    ASSERT_TRUE(server->Restart(&reason)) << reason;
    EXPECT_EQ(broken.delivered, 0);
    EXPECT_EQ(broken.failed, 1);
    EXPECT_FALSE(broken.error.empty());
    EXPECT_EQ(forwarder.State().waiting, 1u);
    EXPECT_EQ(f.Rows().front().deliveredUtc, "");
    EXPECT_EQ(f.Rows().front().deliveryError, broken.error);
    // Nothing of the broken transaction is there, then everything is, once.
    EXPECT_EQ(Value("SELECT count(*) FROM records"), "0");
    const Forwarder::Pass again = forwarder.RunOnce();
    EXPECT_EQ(again.delivered, 1) << again.error;
    EXPECT_EQ(Value("SELECT count(*) FROM uploads"), "1");
    EXPECT_EQ(Value("SELECT count(*) || ' ' || min(line) || ' ' || max(line) || ' ' || count(DISTINCT line)"
                    " FROM records WHERE upload_key = '" +
                    row.key + "'"),
              "9000 1 9000 9000");
    EXPECT_EQ(forwarder.State().waiting, 0u);
    EXPECT_EQ(forwarder.State().lastError, "");
}

TEST_F(CentralFaults, AForwardKilledAfterTheCentralCommitSendsAgainAndTheStoreKeepsOne) {
    Init();
    Folder f;
    const UploadRow row = f.Add("T1", Numbered("K", 500), kDay);
    f.ledger.reset();  // the child has the folder to itself, as a station would
    const std::string folder = f.path(), url = Url();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        VirtualClock clock;
        StopFlag stop{false};
        Forwarder forwarder(folder, url, clock, stop, Noon);
        FaultPlan plan;
        plan.at = 1;  // the forwarder's one seam: after the commit, before the mark
        SetFaultPlan(&plan);
        forwarder.RunOnce();
        _exit(3);  // not killed: the test fails below
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child exited with " << WEXITSTATUS(status);
    EXPECT_EQ(Value("SELECT count(*) FROM records"), "500");

    std::string reason;
    f.ledger.emplace(*Ledger::Open(folder, &reason));
    EXPECT_EQ(f.Rows().front().deliveredUtc, "");  // the mark never happened
    const Forwarder::Pass pass = Settle(folder, url);
    EXPECT_EQ(pass.delivered, 1) << pass.error;
    EXPECT_EQ(f.Rows().front().deliveredUtc, UtcIsoTime(Noon()));
    EXPECT_EQ(Value("SELECT count(*) FROM uploads WHERE upload_key = '" + row.key + "'"), "1");
    EXPECT_EQ(Value("SELECT count(*) FROM records"), "500");
}

TEST_F(CentralFaults, AWrongPasswordIsSaidAndRetriedWhileTheStationKeepsCollecting) {
    Init();
    std::string reason;
    // A role whose password is not yet the one the station was given.
    server->Sql(database,
                "DO $$BEGIN IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'k52pw') THEN"
                " CREATE ROLE k52pw LOGIN SUPERUSER; END IF; END$$",
                &reason);
    ASSERT_TRUE(server->Sql(database, "ALTER ROLE k52pw PASSWORD 'not-this-one'", &reason)) << reason;
    const std::string url = server->Conninfo(database, "k52pw") + " password=right";

    Station s({{3, Options({}, Records("C", 4))}});
    const std::string folder = s.dir.path().string();
    {
        // An upload filed before the forwarder starts.
        UploadRow row;
        row.key = Ledger::NewKey(kDay);
        row.terminal = "T0";
        row.started = row.ended = LocalIsoTime(kDay);
        row.startedUtc = row.endedUtc = UtcIsoTime(kDay);
        row.outcome = "empty";
        ASSERT_TRUE(s.ledger->Put(row, &reason)) << reason;
    }
    std::vector<ForwardEvent> said;
    std::mutex saidMutex;
    ForwarderOptions options;
    options.onEvent = [&](const ForwardEvent& e) {
        std::lock_guard<std::mutex> lock(saidMutex);
        said.push_back(e);
    };
    StopFlag forwardStop{false};
    VirtualClock forwardClock;
    Forwarder forwarder(folder, url, forwardClock, forwardStop, Noon, options);
    int passes = 0;
    std::thread refused([&] {
        // Failing over and over while the station collects beside it.
        do {
            EXPECT_EQ(forwarder.RunOnce().delivered, 0);
            ++passes;
        } while (!forwardStop.load());
    });
    const std::vector<UploadRow> rows = s.Run(1);
    forwardStop.store(true);
    refused.join();
    EXPECT_EQ(forwarder.RunOnce().failed, 1);  // the upload filed meanwhile waits too
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.back().outcome, "complete");
    EXPECT_EQ(rows.back().acknowledged, 4);
    EXPECT_GE(passes, 1);
    ASSERT_FALSE(said.empty());
    EXPECT_EQ(said.front().kind, ForwardEvent::Kind::Failed);
    EXPECT_NE(said.front().message.find("password"), std::string::npos) << said.front().message;
    EXPECT_NE(forwarder.State().lastError.find("password"), std::string::npos);
    EXPECT_EQ(said.front().message.find("right"), std::string::npos) << "the password is never said";
    // The status file and metrics say how many wait, since when, and why.
    StationStatus status({"k52cli test", "desk", folder, "id", 1, kDay},
                         {folder + "/status.json", folder + "/metrics.prom"}, s.events, Noon);
    PublishForwarderState(status, forwarder.State());
    nlohmann::json station = nlohmann::json::parse(s.Read("status.json"))["station"];
    EXPECT_EQ(station["central_waiting"], 2);
    EXPECT_EQ(station["centralWaitingSince"], LocalIsoTime(kDay));
    EXPECT_NE(station.value("centralLastError", "").find("password"), std::string::npos);
    EXPECT_NE(s.Read("metrics.prom").find("\nk52_central_waiting 2\n"), std::string::npos);

    // The password put right: the next pass delivers both, the one filed while refused among them.
    ASSERT_TRUE(server->Sql(database, "ALTER ROLE k52pw PASSWORD 'right'", &reason)) << reason;
    StopFlag go{false};
    Forwarder retried(folder, url, forwardClock, go, Noon);
    EXPECT_EQ(retried.RunOnce().delivered, 2);
    EXPECT_EQ(Value("SELECT count(*) FROM uploads"), "2");
    EXPECT_EQ(retried.State().waiting, 0u);
    PublishForwarderState(status, retried.State());
    station = nlohmann::json::parse(s.Read("status.json"))["station"];
    EXPECT_EQ(station["central_waiting"], 0);
    EXPECT_FALSE(station.contains("centralLastError"));
    EXPECT_FALSE(station.contains("centralWaitingSince"));
}

TEST_F(CentralFaults, TheBackoffDoublesToItsCap) {
    VirtualClock clock;
    StopFlag stop{false};
    ForwarderOptions options;
    options.firstRetryMs = 1000;
    options.maxRetryMs = 10000;
    Forwarder forwarder("", Url(), clock, stop, Noon, options);
    const std::vector<std::pair<int, std::int64_t>> cases = {{1, 1000}, {2, 2000},  {3, 4000},
                                                             {4, 8000}, {5, 10000}, {40, 10000}};
    for (const auto& [failures, ms] : cases) EXPECT_EQ(forwarder.RetryMs(failures), ms) << failures;
}

TEST_F(CentralFaults, AHundredThousandRecordUploadArrivesWhole) {
    Init();
    Folder f;
    std::vector<std::string> records = Numbered("4710000000", 100000);
    for (std::size_t i = 0; i < records.size(); i += 7) records[i] += ",\t\\" + std::to_string(i);
    const UploadRow row = f.Add("T1", records, kDay);
    const Forwarder::Pass pass = Settle(f.path(), Url());
    ASSERT_EQ(pass.delivered, 1) << pass.error;
    std::string local;
    for (const std::string& r : records) local += r + "\n";
    EXPECT_EQ(Value("SELECT count(*) FROM records"), "100000");
    EXPECT_EQ(Value("SELECT encode(sha256(convert_to(string_agg(text || E'\\n', '' ORDER BY line), 'UTF8')),"
                    " 'hex') FROM records"),
              Sha256Hex(local));
    EXPECT_EQ(Value("SELECT sha256 FROM uploads"), row.sha256);
}

}  // namespace
}  // namespace k52::test
