// Three terminals served at once, each on its own in-memory line and virtual clock: a silent one, one
// that refuses a packet through two attempts, and a clean one.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/TerminalRuns.h"
#include "peer/TerminalPeer.h"
#include "support/MemoryLine.h"
#include "support/TempDir.h"
#include "template/Defaults.h"

namespace k52::cli {
namespace {

struct Bench {
    explicit Bench(std::vector<const char*> faults, std::vector<std::vector<u8>> records = {})
        : peer(Options(faults, std::move(records))), lines(clock, &peer) {}
    static PeerOptions Options(const std::vector<const char*>& faults, std::vector<std::vector<u8>> records) {
        PeerOptions o;
        for (const char* f : faults) o.faults.push_back(*ParsePeerFault(f, nullptr));
        o.records = std::move(records);
        return o;
    }
    VirtualClock clock;
    TerminalPeer peer;
    MemoryLineFactory lines;
};

ApplicationTemplate Fresh() {
    ApplicationTemplate t{};
    ApplyBarcodeDefaults(t);
    NewTemplateReset(t);
    return t;
}

TEST(SideBySide, EachTerminalEndsOnItsOwnAndTheReportKeepsTheirOrder) {
    Bench silent({"silent"}), refusing({"refuse-packet=50:8"}), clean({});
    Bench* benches[] = {&silent, &refusing, &clean};
    const char* names[] = {"/dev/silent", "/dev/refusing", "/dev/clean"};
    std::ostringstream err;
    ProgressBoard board(err, ProgressMode::Plain, {names[0], names[1], names[2]}, true, [] { return 0; });
    std::vector<TerminalResult> results(3);
    RunSideBySide(3, [&](std::size_t i) {
        TerminalJob plan{JobKind::Program, Transport::Direct, LookupEncoding::Auto, 2, "plan.ATC", names[i]};
        results[i] = RunSession(plan, Fresh(), benches[i]->lines, benches[i]->clock, board, i);
    });

    EXPECT_EQ(FailureCode(results[0]), "no-reply");
    EXPECT_EQ(results[0].exitCode, 1);
    EXPECT_EQ(results[0].message, "錯誤: 終端機尚未就緒!!");
    EXPECT_EQ(results[0].outcome.attempts, 3);  // two retries answered Yes, each unanswered
    EXPECT_EQ(FailureCode(results[1]), "");
    EXPECT_EQ(results[1].outcome.attempts, 3);
    EXPECT_EQ(results[1].packets, 105);
    EXPECT_EQ(results[2].outcome.attempts, 1);
    EXPECT_EQ(results[2].message, "Download: 下載完畢!!");
    // Only the terminal that never answered gets the checklist, naming its device.
    ASSERT_EQ(results[0].notes.size(), std::size_t{1});
    EXPECT_NE(results[0].notes[0].find(results[0].outcome.device + " "), std::string::npos);
    EXPECT_TRUE(results[1].notes.empty() && results[2].notes.empty());
    // Each terminal's time is its own: the silent one's 27 s of waiting did not reach the others.
    EXPECT_EQ(silent.clock.NowMs(), 27000);
    EXPECT_LT(clean.clock.NowMs(), 1000);
    EXPECT_TRUE(refusing.peer.report().imageComplete);
    EXPECT_TRUE(clean.peer.report().imageComplete);
    EXPECT_EQ(OverallExitCode(results), 1);

    const std::string table = ReportTable(results);
    EXPECT_LT(table.find("/dev/silent"), table.find("/dev/refusing"));
    EXPECT_LT(table.find("/dev/refusing"), table.find("/dev/clean"));
    // Every message line names its terminal; two refused attempts, each asked about once.
    EXPECT_NE(err.str().find("/dev/refusing: 錯誤: 下載失敗,再試一次嗎??\n"), std::string::npos);
    EXPECT_NE(err.str().find("/dev/silent: " + PhaseText({TransferPhase::Failed}, "no-reply")),
              std::string::npos);
    EXPECT_NE(err.str().find("/dev/clean: " + PhaseText({TransferPhase::Done})), std::string::npos);
}

TEST(SideBySide, ReceivesStoreEachTerminalsRecordsInItsOwnFile) {
    test::TempDir dir;
    Bench a({}, {{'1', '2'}, {'3'}}), b({"silent"});
    Bench* benches[] = {&a, &b};
    std::ostringstream err;
    ProgressBoard board(err, ProgressMode::Quiet, {"a", "b"}, true, [] { return 0; });
    std::vector<TerminalResult> results(2);
    RunSideBySide(2, [&](std::size_t i) {
        TerminalJob plan{
            JobKind::Receive,  Transport::Direct, LookupEncoding::Auto, 0, dir(i == 0 ? "a.TXT" : "b.TXT"),
            i == 0 ? "a" : "b"};
        results[i] = RunSession(plan, Fresh(), benches[i]->lines, benches[i]->clock, board, i);
    });
    EXPECT_EQ(results[0].records, 2);
    EXPECT_EQ(results[0].file, dir("a.TXT"));
    // Nobody can answer the desk's "view the records now?" here: the count is the whole report.
    EXPECT_EQ(results[0].message, "");
    EXPECT_EQ(dir.Read("a.TXT"), "12\r\n3\r\n");
    EXPECT_EQ(FailureCode(results[1]), "no-reply");
    EXPECT_TRUE(results[1].file.empty());
    EXPECT_FALSE(std::filesystem::exists(dir("b.TXT")));
    // The two threads' lines may interleave; each terminal's own come in its order.
    const std::string text = err.str();
    const auto timeOut = text.find("b: 錯誤: 逾時!!\n");
    EXPECT_NE(timeOut, std::string::npos) << text;
    const auto nothing = text.find("b: 接收資料: 沒有接收到任何資料!!\n");
    EXPECT_NE(nothing, std::string::npos) << text;
    EXPECT_GT(nothing, timeOut) << text;
    EXPECT_EQ(text.find("a: "), std::string::npos) << text;
}

}  // namespace
}  // namespace k52::cli
