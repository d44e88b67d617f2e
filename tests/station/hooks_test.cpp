// Hooks on the virtual clock: a run delivered, retried with backoff, timed out, never run twice after a
// restart; real programs with their environment and input; a hook that hangs leaves collection alone.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "StationHarness.h"
#include "station/Hooks.h"

namespace k52::test {
namespace {

struct FakeRun {
    std::string program, input;
    std::vector<std::string> env;
    std::optional<int> exit;
    bool killed = false;
};

struct FakeProcesses : HookProcesses {
    struct Process : HookProcess {
        std::shared_ptr<FakeRun> run;
        std::optional<int> Poll() override { return run->exit; }
        void Kill() override {
            run->killed = true;
            run->exit = -1;
        }
        std::string Output() const override { return "out of " + run->program; }
    };
    std::unique_ptr<HookProcess> Start(const std::string& program, const std::vector<std::string>& env,
                                       const std::string& input, std::string* reason) override {
        if (program == "/missing") {
            *reason = "cannot run /missing: No such file or directory";
            return nullptr;
        }
        auto run = std::make_shared<FakeRun>(FakeRun{program, input, env, exitAtOnce, false});
        runs.push_back(run);
        auto p = std::make_unique<Process>();
        p->run = run;
        return p;
    }
    std::optional<int> exitAtOnce = 0;  // nullopt: runs until the test ends it
    std::vector<std::shared_ptr<FakeRun>> runs;
};

CollectEvent Ended(const std::string& key) {
    CollectEvent e;
    e.kind = CollectEventKind::Finished;
    e.terminal = "ttyUSB3";
    e.device = "/dev/ttyUSB3";
    e.key = key;
    e.records = 2;
    return e;
}

struct Hooked {
    explicit Hooked(std::vector<Hook> hooks, HookOptions options = {}) {
        std::string reason;
        ledger.emplace(*Ledger::Open(dir.path().string(), &reason));
        UploadRow row;
        row.key = "k1";
        row.terminal = "ttyUSB3";
        row.device = "/dev/ttyUSB3";
        row.name = "Cradle A, aisle 3";
        row.file = "ttyUSB3/20240501-080000.TXT";
        row.records = 2;
        row.outcome = "complete";
        row.sha256 = "ab";
        EXPECT_TRUE(ledger->Put(row, &reason)) << reason;
        Make(std::move(hooks), options);
    }
    void Make(std::vector<Hook> hooks, HookOptions options = {}) {
        dispatcher.reset();
        dispatcher = std::make_unique<HookDispatcher>(
            *ledger, events, processes, clock, [this] { return kMay1 + clock.NowMs() / 1000; },
            std::move(hooks), options, HookStation{"/srv/k52", "station-1", "desk4"},
            [](const std::string&) { return std::string("Cradle A, aisle 3"); },
            [this](const DeliveryRow& d) { notes.push_back(d); });
    }
    std::vector<DeliveryRow> Rows(const std::string& state = "") {
        std::string reason;
        return *ledger->Deliveries(state, "", &reason);
    }
    TempDir dir;
    std::optional<Ledger> ledger;
    Events events;
    FakeProcesses processes;
    VirtualClock clock;
    std::vector<DeliveryRow> notes;
    std::unique_ptr<HookDispatcher> dispatcher;
};

TEST(Hooks, AnUploadGoesToEachUploadHookWithItsRowAndEventsToTheEventHooks) {
    Hooked h({{"/hooks/copy", true}, {"/hooks/alert", false}});
    h.dispatcher->OnEvent(Ended("k1"));
    CollectEvent busy;
    busy.kind = CollectEventKind::PortBusy;
    busy.device = "/dev/ttyUSB3";
    h.dispatcher->OnEvent(busy);
    CollectEvent started = Ended("k2");
    started.kind = CollectEventKind::Started;
    h.dispatcher->OnEvent(started);
    EXPECT_EQ(h.events.seen.size(), 3u);    // the front end hears every event at once
    EXPECT_TRUE(h.processes.runs.empty());  // nothing runs on the port's thread
    h.dispatcher->Pump();
    ASSERT_EQ(h.processes.runs.size(), 2u);
    const FakeRun& copy = *h.processes.runs[0];
    EXPECT_EQ(copy.program, "/hooks/copy");
    for (const char* v : {"K52_UPLOAD_KEY=k1", "K52_TERMINAL=ttyUSB3", "K52_TERMINAL_NAME=Cradle A, aisle 3",
                          "K52_DEVICE=/dev/ttyUSB3", "K52_FILE=/srv/k52/ttyUSB3/20240501-080000.TXT",
                          "K52_RECORDS=2", "K52_OUTCOME=complete", "K52_SHA256=ab", "K52_EVENT=finished"})
        EXPECT_NE(std::find(copy.env.begin(), copy.env.end(), v), copy.env.end()) << v;
    const auto input = nlohmann::json::parse(copy.input);
    EXPECT_EQ(input["file"], "/srv/k52/ttyUSB3/20240501-080000.TXT");
    EXPECT_EQ(input["station"], h.ledger->stationId());  // the row's station, as the ledger keeps it
    EXPECT_EQ(h.processes.runs[1]->program, "/hooks/alert");
    EXPECT_EQ(nlohmann::json::parse(h.processes.runs[1]->input)["event"], "port busy");
    h.dispatcher->Pump();
    const auto rows = h.Rows("delivered");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].output, "out of /hooks/copy");
    EXPECT_EQ(rows[0].exitStatus, 0);
    EXPECT_EQ(h.dispatcher->Waiting(), 0u);
}

TEST(Hooks, AFailedRunIsTriedAgainLaterAndTwiceAsLateUntilItsRunsAreSpent) {
    HookOptions options;
    options.attempts = 3;
    Hooked h({{"/hooks/post", true}}, options);
    h.processes.exitAtOnce = 7;
    h.dispatcher->OnEvent(Ended("k1"));
    std::vector<std::int64_t> startedAt;
    for (int second = 0; second <= 200; ++second) {
        const std::size_t before = h.processes.runs.size();
        h.dispatcher->Pump();
        h.dispatcher->Pump();  // the run's end
        if (h.processes.runs.size() > before) startedAt.push_back(h.clock.NowMs() / 1000);
        h.clock.Advance(1000);
    }
    EXPECT_EQ(startedAt, (std::vector<std::int64_t>{0, 30, 90}));
    const auto rows = h.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].state, "failed");
    EXPECT_EQ(rows[0].attempts, 3);
    EXPECT_EQ(rows[0].reason, "exit status 7");
    ASSERT_EQ(h.notes.size(), 3u);
    EXPECT_EQ(h.notes[0].state, "pending");

    // A program that is not there fails the same way, with the system's reason.
    Hooked missing({{"/missing", true}}, options);
    missing.dispatcher->OnEvent(Ended("k1"));
    missing.dispatcher->Pump();
    EXPECT_EQ(missing.Rows()[0].reason, "cannot run /missing: No such file or directory");
}

TEST(Hooks, AHookPastItsTimeLimitIsEndedAndTheNextUploadsHooksStillRun) {
    HookOptions options;
    options.timeLimitMs = 60000;
    options.parallel = 2;
    Hooked h({{"/hooks/slow", true}}, options);
    h.processes.exitAtOnce = std::nullopt;
    h.dispatcher->OnEvent(Ended("k1"));
    h.dispatcher->Pump();
    h.clock.Advance(59999);
    h.dispatcher->Pump();
    EXPECT_FALSE(h.processes.runs[0]->killed);
    h.dispatcher->OnEvent(Ended("k2"));  // a second upload while the first hook hangs
    h.dispatcher->Pump();
    EXPECT_EQ(h.processes.runs.size(), 2u);
    h.clock.Advance(1);
    h.dispatcher->Pump();
    EXPECT_TRUE(h.processes.runs[0]->killed);
    EXPECT_FALSE(h.processes.runs[1]->killed);
    EXPECT_EQ(h.Rows()[0].reason, "timed out after 60 s");
    EXPECT_EQ(h.Rows()[0].state, "pending");  // tried again later
}

TEST(Hooks, AfterARestartADeliveredUploadIsNotRunAgainAndAPendingOneIs) {
    Hooked h({{"/hooks/copy", true}});
    h.dispatcher->OnEvent(Ended("k1"));
    h.dispatcher->Pump();
    h.dispatcher->Pump();
    ASSERT_EQ(h.Rows("delivered").size(), 1u);
    // The station was killed while the second upload's hook ran: its row stays pending.
    h.processes.exitAtOnce = std::nullopt;
    h.dispatcher->OnEvent(Ended("k2"));
    h.dispatcher->Pump();
    ASSERT_EQ(h.processes.runs.size(), 2u);
    h.processes.exitAtOnce = 0;
    h.Make({{"/hooks/copy", true}});
    h.dispatcher->Resume();
    h.dispatcher->OnEvent(Ended("k1"));  // recovery says the first upload's end again
    h.dispatcher->OnEvent(Ended("k2"));
    h.dispatcher->Pump();
    ASSERT_EQ(h.processes.runs.size(), 3u);
    EXPECT_EQ(nlohmann::json::parse(h.processes.runs[2]->input)["upload_key"], "k2");
    h.dispatcher->Pump();
    EXPECT_EQ(h.Rows("delivered").size(), 2u);
    EXPECT_EQ(h.Rows().size(), 2u);
}

// Real programs: a script that records what it was given, and one that never ends.
// Time that passes no faster than real time (so no run on it times out within the test), its waits
// real and short.
struct FrozenClock : Clock {
    std::int64_t NowMs() override { return now_.load(); }
    void SleepUntil(std::int64_t untilMs) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        now_.store(std::min(untilMs, now_.load() + 1));
    }
    std::atomic<std::int64_t> now_{0};
};

std::string Script(const TempDir& dir, const std::string& name, const std::string& body) {
    const std::string path = dir.path().string() + "/" + name;
    std::ofstream(path) << "#!/bin/sh\n" << body;
    chmod(path.c_str(), 0755);
    return path;
}

TEST(SystemHooks, RunsTheProgramWithItsEnvironmentAndInputAndKeepsItsOutput) {
    TempDir dir;
    const std::string seen = dir.path().string() + "/seen";
    const std::string hook =
        Script(dir, "post", "cat > '" + seen + "'\necho \"$K52_TERMINAL_NAME\"\necho bad >&2\nexit 3\n");
    Script(dir, ".hidden", "exit 0\n");
    Script(dir, "backup~", "exit 0\n");
    EXPECT_EQ(DropInHooks(dir.path().string()), std::vector<std::string>{hook});  // "seen" is not executable
    auto processes = SystemHookProcesses();
    FrozenClock frozen;
    VirtualClock clock;
    DeliveryRow row;
    row.hook = hook;
    row.payload = R"({"terminal_name":"Cradle A; rm -rf /","records":2})";
    // The virtual clock moves only as the run waits: the real script ends long before its limit.
    RunHookNow(*processes, frozen, HookOptions{}, row);
    EXPECT_EQ(row.state, "failed");
    EXPECT_EQ(row.exitStatus, 3);
    EXPECT_EQ(row.reason, "exit status 3");
    EXPECT_EQ(row.output, "Cradle A; rm -rf /\nbad\n");
    EXPECT_EQ(dir.Read("seen"), row.payload);

    DeliveryRow hang;
    hang.hook = Script(dir, "hang", "sleep 120\n");
    HookOptions quick;
    quick.timeLimitMs = 2000;
    RunHookNow(*processes, clock, quick, hang);
    EXPECT_EQ(hang.state, "failed");
    EXPECT_EQ(hang.reason, "timed out after 2 s");
}

TEST(SystemHooks, AHookThatHangsDoesNotHoldUpTheNextUpload) {
    Station s({{0, Options({}, Records("A", 2))}, {0, Options({}, Records("B", 3))}});
    auto processes = SystemHookProcesses();
    FrozenClock hookClock;  // the hook is never timed out
    const std::string hang = Script(s.dir, "hang", "sleep 120\n");
    std::string reason;
    std::optional<Ledger> own = Ledger::Open(s.dir.path().string(), &reason);  // the hooks' connection
    HookOptions one;
    one.parallel = 1;
    HookDispatcher hooks(
        *own, s.events, *processes, hookClock, [] { return kMay1; }, {{hang, true}}, one,
        HookStation{s.dir.path().string(), "", ""});
    StopFlag hooksStop{false};
    std::thread pump([&] { hooks.Run(hooksStop, 0); });
    s.events.onEvent = [&](const CollectEvent& e) {
        if (e.kind == CollectEventKind::Finished && s.events.Count(CollectEventKind::Finished) == 1)
            while (hooks.Running() == 0) std::this_thread::yield();  // the first upload's hook runs
        if (s.events.Count(CollectEventKind::Finished) == 2) s.stop.store(true);
    };
    CollectStation station(s.dir.path().string(), 5000, s.stop, *s.ledger, hooks, [&] {
        return kMay1 + static_cast<std::time_t>(s.clock.VirtualClock::NowMs() / 1000);
    });
    station.Serve(s.port, s.clock);
    EXPECT_EQ(hooks.Running(), 1u);  // the second upload was filed while the first hook still ran
    const auto rows = *s.ledger->List("", "", &reason);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].records, 3);
    hooksStop.store(true);
    pump.join();
    EXPECT_EQ(s.ledger->Deliveries("pending", "", &reason)->size(), 2u);  // both are run at the next start
}

}  // namespace
}  // namespace k52::test
