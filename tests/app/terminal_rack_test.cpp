// The Terminals window's rows: they follow the ports named and the adapters plugged in, and each row's
// job runs, fails, is retried and is cancelled on its own.
#include "app/TerminalRack.h"

#include "support/LinkHarness.h"
#include "support/TempDir.h"

namespace k52::test {
namespace {

ComPortResolution Named(const std::string& device, bool present, AssignmentSource source) {
    return {device, source, present, {}, {}};
}

DiscoveredPort Usb(const std::string& device, const std::string& description,
                   std::optional<std::string> byId = std::nullopt) {
    DiscoveredPort p;
    p.device = device;
    p.description = description;
    p.byId = std::move(byId);
    p.transport = PortTransport::Usb;
    return p;
}

struct Shown {
    std::string name, device;
    bool present;
    bool operator==(const Shown&) const = default;
};

std::vector<Shown> Rows(const TerminalRack& rack) {
    std::vector<Shown> rows;
    for (const RackRow& r : rack.rows()) rows.push_back({r.name, r.device, r.present});
    return rows;
}

TEST(TerminalRack, RowsFollowTheNamedPortsAndThePluggedAdapters) {
    RackScan scan;
    for (std::size_t i = 0; i < scan.comPorts.size(); ++i)
        scan.comPorts[i] = Named("/dev/ttyS" + std::to_string(i), true, AssignmentSource::Default);
    scan.comPorts[0] = Named("/dev/serial/by-id/usb-A", false, AssignmentSource::Environment);
    scan.comPorts[2] = Named("/dev/ttyUSB9", false, AssignmentSource::File);
    DiscoveredPort native;
    native.device = "/dev/ttyS0";
    scan.adapters = {native, Usb("/dev/ttyUSB0", "Cradle A", "/dev/serial/by-id/usb-A"),
                     Usb("/dev/ttyUSB1", "Cradle B")};

    TerminalRack rack;
    rack.rememberedCradle = [](const std::string& device) { return device == "/dev/ttyUSB1"; };
    EXPECT_TRUE(rack.Update(scan));
    // COM1 is present through its adapter's by-id name; COM3 is named but not plugged in; the native
    // port and the adapter COM1 names get no rows of their own.
    EXPECT_EQ(Rows(rack), (std::vector<Shown>{{"COM1", "/dev/serial/by-id/usb-A", true},
                                              {"COM3", "/dev/ttyUSB9", false},
                                              {"Cradle B", "/dev/ttyUSB1", true}}));
    EXPECT_FALSE(rack.rows()[0].cradle);
    EXPECT_TRUE(rack.rows()[2].cradle);
    EXPECT_FALSE(rack.Update(scan));

    // B pulled out, C plugged in: B stays, absent; C comes last so no row moves.
    scan.adapters = {Usb("/dev/ttyUSB0", "Cradle A", "/dev/serial/by-id/usb-A"),
                     Usb("/dev/ttyUSB2", "Cradle C")};
    EXPECT_TRUE(rack.Update(scan));
    EXPECT_EQ(Rows(rack), (std::vector<Shown>{{"COM1", "/dev/serial/by-id/usb-A", true},
                                              {"COM3", "/dev/ttyUSB9", false},
                                              {"Cradle B", "/dev/ttyUSB1", false},
                                              {"Cradle C", "/dev/ttyUSB2", true}}));
    // And back again.
    scan.adapters.push_back(Usb("/dev/ttyUSB1", "Cradle B"));
    EXPECT_TRUE(rack.Update(scan));
    EXPECT_TRUE(rack.rows()[2].present);
}

// Three terminals on in-memory lines, each on its own virtual clock.
struct Terminal {
    explicit Terminal(PeerOptions options) : peer(std::move(options)), lines(clock, &peer) {}
    VirtualClock clock;
    TerminalPeer peer;
    MemoryLineFactory lines;
};

// Forwards progress to the rack as the window does, and cancels the row after `stopAfter` records.
struct RowBoard : JobBoard {
    TerminalRack& rack;
    std::size_t row;
    Clock& clock;
    int stopAfter = -1;
    RowBoard(TerminalRack& r, std::size_t i, Clock& c) : rack(r), row(i), clock(c) {}
    void Message(const std::string&) override {}
    void Progress(const TransferProgress& p) override {
        rack.Progress(row, p, clock.NowMs());
        if (stopAfter >= 0 && p.phase == TransferPhase::Receiving && p.done >= stopAfter) rack.Cancel(row);
    }
};

void RunRow(TerminalRack& rack, std::size_t row, const TerminalJob& job, Terminal& t, int stopAfter = -1) {
    RowBoard board(rack, row, t.clock);
    board.stopAfter = stopAfter;
    rack.Finish(row, RunTerminalJob(job, StartupTemplate(), t.lines, t.clock, board));
}

TerminalRack ThreeRows() {
    RackScan scan;
    for (std::size_t i = 0; i < scan.comPorts.size(); ++i)
        scan.comPorts[i] = Named("/dev/t" + std::to_string(i), i < 3,
                                 i < 3 ? AssignmentSource::Environment : AssignmentSource::Default);
    TerminalRack rack;
    rack.Update(scan);
    return rack;
}

TEST(TerminalRack, ASilentTerminalFailsAloneAndRetryTriesItAgain) {
    TerminalRack rack = ThreeRows();
    Terminal a{{}}, b{{}}, silent{Options({"silent"})};
    Terminal* terminals[] = {&a, &b, &silent};
    for (std::size_t i = 0; i < 3; ++i) {
        auto job = rack.Start(i, JobKind::Program, "", false, 0);
        ASSERT_TRUE(job);
        EXPECT_FALSE(rack.Start(i, JobKind::Program, "", false, 0)) << "a running row starts once";
        EXPECT_EQ(rack.Summary().running, static_cast<int>(i) + 1);
    }
    for (std::size_t i = 0; i < 3; ++i) RunRow(rack, i, *rack.rows()[i].job, *terminals[i]);

    EXPECT_EQ(rack.rows()[0].state, RowState::Done);
    EXPECT_EQ(rack.rows()[0].percent, 100);
    EXPECT_TRUE(a.peer.ExchangeEnded());
    EXPECT_EQ(rack.rows()[2].state, RowState::Failed);
    EXPECT_EQ(FailureCode(rack.rows()[2].last->outcome), "no-reply");
    EXPECT_EQ(rack.FailedRows(), std::vector<std::size_t>{2});
    EXPECT_EQ(rack.Summary().done, 2);
    EXPECT_EQ(rack.Summary().failed, 1);
    EXPECT_FALSE(rack.Retry(0, 0)) << "only failed rows are retried";

    Terminal awake{{}};
    auto retry = rack.Retry(2, 100);
    ASSERT_TRUE(retry);
    EXPECT_EQ(rack.rows()[2].state, RowState::Running);
    RunRow(rack, 2, *retry, awake);
    EXPECT_EQ(rack.rows()[2].state, RowState::Done);
    EXPECT_TRUE(rack.FailedRows().empty());
}

TEST(TerminalRack, ReceivesIntoTheFolderAndACancelKeepsWhatWasAcknowledged) {
    TempDir dir;
    TerminalRack rack = ThreeRows();
    dir.Write("t1.TXT", "old\r\n");
    const ReceivePlan plan = rack.PlanReceive(dir.path().string(), {0, 1});
    EXPECT_EQ(plan.files, (std::vector<std::string>{dir("t0.TXT"), dir("t1.TXT")}));
    EXPECT_EQ(plan.existing, std::vector<std::string>{dir("t1.TXT")});
    EXPECT_TRUE(plan.collision.empty());

    std::vector<Bytes> records = {B("A1"), B("A2"), B("A3"), B("A4")};
    Terminal first{Options({}, records)}, second{Options({}, records)};
    rack.SetCradle(1, false);
    RunRow(rack, 0, *rack.Start(0, JobKind::Receive, plan.files[0], true, 0), first);
    RunRow(rack, 1, *rack.Start(1, JobKind::Receive, plan.files[1], true, 0), second, 2);

    EXPECT_EQ(rack.rows()[0].state, RowState::Done);
    EXPECT_EQ(rack.rows()[0].file, dir("t0.TXT"));
    EXPECT_EQ(dir.Read("t0.TXT"), "A1\r\nA2\r\nA3\r\nA4\r\n");
    EXPECT_EQ(rack.rows()[1].state, RowState::Cancelled);
    EXPECT_EQ(dir.Read("t1.TXT"), "A1\r\nA2\r\n");
    EXPECT_EQ(second.peer.report().recordsAcknowledged, 2);

    // Two devices of one name would share a file.
    RackScan clash;
    clash.comPorts[0] = Named("/dev/a/ttyX", true, AssignmentSource::File);
    clash.comPorts[1] = Named("/dev/b/ttyX", true, AssignmentSource::File);
    TerminalRack two;
    two.Update(clash);
    EXPECT_FALSE(two.PlanReceive(dir.path().string(), {0, 1}).collision.empty());
}

TEST(TerminalRack, ACollectingRowTakesNoOtherTransferAndShowsItsLastUpload) {
    TerminalRack rack = ThreeRows();
    ASSERT_TRUE(rack.Start(1, JobKind::Program, "", false, 0));
    EXPECT_FALSE(rack.StartCollecting(1)) << "a running row does not collect";
    rack.SetCradle(0, true);
    const std::optional<CollectPort> port = rack.StartCollecting(0);
    ASSERT_TRUE(port);
    EXPECT_EQ(port->device, "/dev/t0");
    EXPECT_EQ(port->transport, Transport::Cradle);
    EXPECT_FALSE(rack.StartCollecting(0));
    EXPECT_FALSE(rack.Start(0, JobKind::Receive, "x", false, 0)) << "nor does a collecting row run a job";
    const std::string waiting = RowStateText(rack.rows()[0]);
    EXPECT_FALSE(waiting.empty());

    auto event = [&](CollectEventKind kind, int records = 0, std::string message = "") {
        CollectEvent e;
        e.kind = kind;
        e.device = "/dev/t0";
        e.time = "2026-12-08T10:32:05+01:00";
        e.records = records;
        e.message = std::move(message);
        rack.Collected(0, e);
    };
    event(CollectEventKind::Started);
    TransferProgress p;
    p.phase = TransferPhase::Receiving;
    p.done = 7;
    rack.CollectProgress(0, p);
    EXPECT_NE(RowStateText(rack.rows()[0]), waiting);
    EXPECT_NE(RowStateText(rack.rows()[0]).find(" 7"), std::string::npos);
    event(CollectEventKind::Finished, 12);
    EXPECT_EQ(RowStateText(rack.rows()[0]), waiting);
    const std::string last = rack.rows()[0].result;
    EXPECT_NE(last.find("2026-12-08 10:32:05"), std::string::npos) << last;
    EXPECT_NE(last.find("12"), std::string::npos) << last;

    // A problem leads, and the last upload stays beside it until the port is back.
    event(CollectEventKind::Problem, 0, "cannot create /x");
    EXPECT_EQ(rack.rows()[0].result, "cannot create /x; " + last);
    event(CollectEventKind::PortBack);
    EXPECT_EQ(rack.rows()[0].result, last);

    rack.CollectingEnded(0);
    EXPECT_FALSE(rack.AnyCollecting());
    EXPECT_TRUE(RowStateText(rack.rows()[0]).empty());
    EXPECT_TRUE(rack.Start(0, JobKind::Receive, "x", false, 0));
}

}  // namespace
}  // namespace k52::test
