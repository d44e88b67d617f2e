// k52cli's progress lines and closing report: drawn from literal progress and literal outcomes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/CliSupport.h"
#include "cli/ProgressBoard.h"
#include "cli/TransferReport.h"
#include "support/InLanguage.h"

namespace k52::cli {
namespace {

TransferProgress P(TransferPhase phase, int done = 0, int total = 0, std::int64_t sent = 0,
                   std::int64_t received = 0) {
    return {phase, done, total, sent, received};
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

TEST(ProgressBoard, PlainModeWritesALinePerPhaseChangeAndNoControlCharacters) {
    const test::InLanguage english(Language::English);
    std::ostringstream out;
    std::int64_t now = 0;
    ProgressBoard board(out, ProgressMode::Plain, {"/dev/a", "/dev/b"}, true, [&] { return now; });
    board.Update(0, P(TransferPhase::Handshake));
    board.Update(1, P(TransferPhase::Handshake));
    board.Update(0, P(TransferPhase::SendingPacket, 0, 105));
    for (int k = 1; k <= 105; ++k) board.Update(0, P(TransferPhase::SendingPacket, k, 105, k * 103, k * 4));
    board.Message(1, "錯誤: 終端機尚未就緒!!");
    board.Update(0, P(TransferPhase::Done, 105, 105, 10822, 424));
    board.Update(1, P(TransferPhase::Failed, 0, 0, 21, 0), "no-reply");
    board.Tick();
    board.Finish();
    EXPECT_EQ(out.str(),
              "/dev/a: handshake\n"
              "/dev/b: handshake\n"
              "/dev/a: sending packet 0/105\n"
              "/dev/b: 錯誤: 終端機尚未就緒!!\n"
              "/dev/a: done (11246 bytes)\n"
              "/dev/b: failed: no-reply (21 bytes)\n");
}

TEST(ProgressBoard, LiveModeRedrawsAtMostTenTimesASecondAndEndsWithTheLastState) {
    const test::InLanguage english(Language::English);
    std::ostringstream out;
    std::int64_t now = 1000;
    ProgressBoard board(out, ProgressMode::Live, {"/dev/a"}, false, [&] { return now; });
    board.Update(0, P(TransferPhase::SendingPacket, 0, 105));  // the first draw
    EXPECT_EQ(out.str(), "/dev/a  sending packet 0/105  [....................] 0%  0 B/s\n");
    // Every millisecond for a second: ten more redraws, not a thousand.
    for (int ms = 1; ms <= 1000; ++ms) {
        now = 1000 + ms;
        board.Update(0, P(TransferPhase::SendingPacket, ms * 105 / 1000, 105, ms * 11, 0));
        board.Tick();
    }
    EXPECT_EQ(Count(out.str(), "\x1b[J"), 10);
    const std::string last = out.str().substr(out.str().rfind("\x1b[J") + 3);
    EXPECT_EQ(last, "/dev/a  sending packet 105/105  [####################] 100%  11.0 kB/s\n");
    // An update inside the 100 ms is drawn by the next tick once they have passed, or by Finish.
    now = 2050;
    board.Update(0, P(TransferPhase::Done, 105, 105, 11000, 246));
    EXPECT_EQ(Count(out.str(), "\x1b[J"), 10);
    board.Finish();
    EXPECT_EQ(out.str().substr(out.str().rfind("\x1b[J") + 3),
              "/dev/a  done  [####################] 100%  10.7 kB/s\n");
}

TEST(ProgressBoard, LiveModeMovesMessagesAboveTheLines) {
    const test::InLanguage english(Language::English);
    std::ostringstream out;
    std::int64_t now = 0;
    ProgressBoard board(out, ProgressMode::Live, {"/dev/a", "/dev/b"}, true, [&] { return now; });
    board.Update(1, P(TransferPhase::Receiving, 1, 0, 5, 20));
    now = 10;
    board.Message(0, "錯誤: 逾時!!");
    EXPECT_EQ(out.str(),
              "/dev/a  waiting\n"
              "/dev/b  receiving: 1 record  0 B/s\n"
              "\r\x1b[2A\x1b[J/dev/a: 錯誤: 逾時!!\n"
              "/dev/a  waiting\n"
              "/dev/b  receiving: 1 record  2.5 kB/s\n");
}

TEST(ProgressBoard, LiveLinesAreCutToTheScreenWidthSoNoneWraps) {
    const test::InLanguage english(Language::English);
    std::ostringstream out;
    ProgressBoard board(out, ProgressMode::Live, {"/dev/serial/by-id/usb-FTDI_FT232R_A12B-if00-port0"}, false,
                        [] { return 0; });
    board.setWidth(40);
    board.Update(0, P(TransferPhase::Handshake));
    EXPECT_EQ(out.str(), "/dev/serial/by-id/usb-FTDI_FT232R_A12B-\n");  // 39 columns and the cursor
}

TEST(ProgressBoard, QuietModeShowsMessagesOnly) {
    const test::InLanguage english(Language::English);
    std::ostringstream out;
    ProgressBoard board(out, ProgressMode::Quiet, {"/dev/a"}, false, [] { return 0; });
    board.Update(0, P(TransferPhase::Handshake));
    board.Message(0, "Download: 下載完畢!!");
    board.Update(0, P(TransferPhase::Done));
    board.Finish();
    EXPECT_EQ(out.str(), "Download: 下載完畢!!\n");
}

TransferOutcome O(LinkFailure f, bool unanswered = false) {
    TransferOutcome o;
    o.failure = f;
    o.unanswered = unanswered;
    return o;
}

TEST(TransferReport, EachFailureHasItsCodeAndTheExitCodeItGaveAlone) {
    const test::InLanguage english(Language::English);
    const struct {
        TransferOutcome outcome;
        const char* code;
        int exit;
    } kCases[] = {
        {O(LinkFailure::None), "", 0},
        {O(LinkFailure::PortOpen), "port-open", 4},
        {O(LinkFailure::TransferFailed, true), "no-reply", 1},
        {O(LinkFailure::TransferFailed, false), "refused", 1},
        {O(LinkFailure::NotReady), "no-reply", 1},
        {O(LinkFailure::TooManyRefusals), "refused", 1},
        {O(LinkFailure::LineSettings), "line-settings", 4},
        {O(LinkFailure::IrPreparation), "ir-cradle", 4},
        {O(LinkFailure::CannotOpenFile), "file", 3},
        {O(LinkFailure::FileWrite), "file", 3},
        {O(LinkFailure::LookupNotConvertible), "file", 3},
        {O(LinkFailure::TimedOut), "timeout", 1},
        {O(LinkFailure::LineLost), "line-lost", 4},
        {O(LinkFailure::MaybeDuplicated), "duplicate", 1},
        {O(LinkFailure::BadPortSettings), "port-settings", 5},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(FailureCode(c.outcome), c.code);
        EXPECT_EQ(ExitCodeOf(c.outcome), c.exit) << c.code;
    }
}

TerminalResult R(const char* device, LinkFailure f, int exitCode) {
    TerminalResult r;
    r.device = device;
    r.outcome = O(f, true);
    r.exitCode = exitCode;
    return r;
}

TEST(TransferReport, TheExitCodeIsTheFirstFailingTerminalsInCommandLineOrder) {
    const test::InLanguage english(Language::English);
    EXPECT_EQ(OverallExitCode({R("a", LinkFailure::None, 0), R("b", LinkFailure::None, 0)}), 0);
    EXPECT_EQ(OverallExitCode({R("a", LinkFailure::None, 0), R("b", LinkFailure::PortOpen, 4),
                               R("c", LinkFailure::TransferFailed, 1)}),
              4);
    EXPECT_EQ(OverallExitCode({R("a", LinkFailure::TransferFailed, 1), R("b", LinkFailure::PortOpen, 4)}), 1);
}

TEST(TransferReport, TableAndJsonKeepTheOrderAndEveryField) {
    const test::InLanguage english(Language::English);
    TerminalResult ok = R("/dev/ttyUSB0", LinkFailure::None, 0);
    ok.packets = 105;
    ok.file = "plan.ATC";
    ok.seconds = 0.976;
    ok.message = "Download: 下載完畢!!";
    TerminalResult silent = R("/dev/ttyUSB1", LinkFailure::TransferFailed, 1);
    silent.seconds = 9.004;
    silent.message = "錯誤: 終端機尚未就緒!!";
    TerminalResult exists = R("/dev/x", LinkFailure::None, 3);
    exists.failure = "file";
    EXPECT_EQ(ReportTable({ok, silent, exists}),
              "DEVICE        RESULT            PACKETS  RECORDS  SECONDS  MESSAGE\n"
              "/dev/ttyUSB0  ok                105      0        0.98     Download: 下載完畢!!\n"
              "/dev/ttyUSB1  failed: no-reply  0        0        9.00     錯誤: 終端機尚未就緒!!\n"
              "/dev/x        failed: file      0        0        0.00\n");

    const auto doc = nlohmann::json::parse(ReportJson({ok, silent, exists}));
    ASSERT_EQ(doc.size(), 3u);
    EXPECT_EQ(doc[0]["device"], "/dev/ttyUSB0");
    EXPECT_EQ(doc[0]["ok"], true);
    EXPECT_TRUE(doc[0]["failure"].is_null());
    EXPECT_EQ(doc[0]["packets"], 105);
    EXPECT_EQ(doc[0]["records"], 0);
    EXPECT_EQ(doc[0]["file"], "plan.ATC");
    EXPECT_DOUBLE_EQ(doc[0]["seconds"].get<double>(), 0.98);
    EXPECT_EQ(doc[0]["message"], "Download: 下載完畢!!");
    EXPECT_EQ(doc[1]["ok"], false);
    EXPECT_EQ(doc[1]["failure"], "no-reply");
    EXPECT_TRUE(doc[1]["file"].is_null());
    EXPECT_EQ(doc[2]["failure"], "file");
}

// In Chinese the headers and words are ideographs, two screen columns for three bytes: the columns still
// line up on screen, and the JSON keeps its English codes.
TEST(TransferReport, ChineseColumnsLineUpOnScreenAndJsonStaysEnglish) {
    TerminalResult ok = R("/dev/ttyUSB0", LinkFailure::None, 0);
    ok.packets = 105;
    ok.message = "Download: 下載完畢!!";
    TerminalResult silent = R("/dev/ttyUSB1", LinkFailure::TransferFailed, 1);
    silent.message = "錯誤: 終端機尚未就緒!!";
    TerminalResult exists = R("/dev/x", LinkFailure::None, 3);
    exists.failure = "file";
    std::vector<std::vector<std::size_t>> starts;  // the screen column of each cell, line by line
    std::istringstream table(ReportTable({ok, silent, exists}));
    for (std::string line; std::getline(table, line);) {
        std::vector<std::size_t>& cells = starts.emplace_back();
        for (std::size_t at = 0; at < line.size(); at = line.find_first_not_of(' ', line.find("  ", at))) {
            cells.push_back(TextWidth(line.substr(0, at)));
            if (line.find("  ", at) == std::string::npos) break;
        }
    }
    ASSERT_NE(Localize("RESULT"), "RESULT");
    ASSERT_EQ(starts.size(), 4u);
    for (std::size_t row = 1; row < starts.size(); ++row)
        for (std::size_t c = 0; c < 5; ++c) EXPECT_EQ(starts[row][c], starts[0][c]) << row << " " << c;
    const std::string json = ReportJson({ok, silent, exists});
    const test::InLanguage english(Language::English);
    EXPECT_EQ(ReportJson({ok, silent, exists}), json);
}

TEST(TransferReport, ADeviceNameWithALineEndOrBytesThatAreNoUtf8StaysOneLineAndRecoverable) {
    TerminalResult odd = R("/dev/a\nb\xff", LinkFailure::None, 0);
    odd.file = "out/a\nb\xff.TXT";
    EXPECT_EQ(ReportTable({odd}).substr(ReportTable({odd}).find('\n') + 1, 16), "/dev/a\\x0Ab\\xFF ");
    const auto doc = nlohmann::json::parse(ReportJson({odd}));
    EXPECT_EQ(doc[0]["device_hex"], "2f6465762f610a62ff");
    EXPECT_EQ(doc[0]["file_hex"], "6f75742f610a62ff2e545854");
    std::ostringstream out;
    ProgressBoard board(out, ProgressMode::Plain, {"/dev/a\nb"}, true, [] { return 0; });
    board.Message(0, "x");
    EXPECT_EQ(out.str(), "/dev/a\\x0Ab: x\n");
}

}  // namespace
}  // namespace k52::cli
