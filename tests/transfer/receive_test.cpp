// Receiving collected records: the request, the record exchange with its sequence numbers and
// checksums, time-outs, the data file and what the user is told.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "support/LinkHarness.h"

namespace k52::test {
namespace {

const Bytes kRead = B("READ\r");
const Bytes kAck = B("ACK\r");
const Bytes kNak = B("NAK\r");
constexpr const char* kNothing = "沒有接收到任何資料!!";

// A folder of its own, so the receive's temporary file can be found beside the data file.
std::string TempDir() {
    char name[] = "/tmp/k52-data-XXXXXX";
    return mkdtemp(name);
}

std::vector<std::string> FilesIn(const std::string& dir) {
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct ReceiveHarness : Harness {
    explicit ReceiveHarness(PeerOptions o) : Harness(std::move(o)) { ui.dataChoice = path; }
    explicit ReceiveHarness(ScriptedPeer::Fn fn) : Harness(std::move(fn)) { ui.dataChoice = path; }
    ~ReceiveHarness() {
        for (const std::string& name : FilesIn(dir)) std::remove((dir + "/" + name).c_str());
        rmdir(dir.c_str());
    }
    std::string dir = TempDir();
    std::string path = dir + "/data.txt";
};

std::vector<Bytes> Records(std::initializer_list<const char*> r) {
    std::vector<Bytes> v;
    for (const char* s : r) v.push_back(B(s));
    return v;
}

TEST(Receive, RecordsBecomeLinesAndTheUserMayViewTheFile) {
    ReceiveHarness h(Options({}, Records({"1001,5", "1002,7", ""})));
    h.ui.answers = {MessageAnswer::Yes};
    EXPECT_EQ(h.Receive().recordsStored, 3);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(Contents(h.path), "1001,5\r\n1002,7\r\n\r\n");
    EXPECT_EQ(h.Writes(), (std::vector<Bytes>{kRead, kAck, kAck, kAck}));
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].text, "完成 : 共接收 3 筆資料. \n立即瀏覽接收到的資料嗎??");
    EXPECT_EQ(h.ui.shown[0].title, "接收資料");
    EXPECT_EQ(h.ui.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(h.ui.viewed, std::vector<std::string>{h.path});
    EXPECT_EQ(h.ui.status, (std::vector<std::string>{"begin", "update 1", "update 2", "update 3", "end"}));
    EXPECT_TRUE(h.peer.report().uploadComplete);
    EXPECT_EQ(h.lines.log.discards, 0);  // the receive path closes without discarding
    EXPECT_EQ(h.lines.log.closes, 1);
}

// The cable comes out as the fourth record is acknowledged: the receive ends at once (no time-out waited
// out), says so, keeps the four records stored and warns that the fourth may come again.
TEST(Receive, ALostLineEndsAtOnceAndKeepsWhatWasAcknowledged) {
    ReceiveHarness h(Options({}, Records({"a", "b", "c", "d", "e"})));
    h.lines.hangUpAfterWrites = 4;  // READ and three ACKs
    const std::int64_t before = h.clock.NowMs();
    h.Receive();
    EXPECT_EQ(h.outcome.failure, LinkFailure::LineLost);
    EXPECT_EQ(h.outcome.recordsStored, 4);
    EXPECT_TRUE(h.outcome.lastMayComeAgain);
    EXPECT_EQ(Contents(h.path), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{"通訊埠已中斷 (傳輸線或轉接器被拔除?)!!",
                                                      "接收中斷, 已接收的 4 筆資料已保存在檔案中. "
                                                      "第 4 筆資料下次可能會再傳送一次."}));
    EXPECT_LT(h.clock.NowMs() - before, 500);
}

TEST(Receive, NoAnswerNoViewer) {
    ReceiveHarness h(Options({}, Records({"x"})));
    EXPECT_EQ(h.Receive().recordsStored, 1);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_TRUE(h.ui.viewed.empty());
    EXPECT_TRUE(Exists(h.path));
}

TEST(Receive, OverBeforeAnyRecordDeletesTheFile) {
    ReceiveHarness h(Options({}));
    EXPECT_EQ(h.Receive().recordsStored, 0);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(h.ui.Texts(), std::vector<std::string>{kNothing});
    EXPECT_EQ(h.ui.shown[0].title, "接收資料");
    EXPECT_EQ(h.ui.shown[0].icon, MessageIcon::None);
    EXPECT_FALSE(Exists(h.path));
    EXPECT_EQ(h.ui.status, (std::vector<std::string>{"begin", "end"}));
}

TEST(Receive, RepeatedRecordIsAcknowledgedButStoredOnce) {
    ReceiveHarness h(Options({"repeat-record=1"}, Records({"r0", "r1", "r2"})));
    EXPECT_EQ(h.Receive().recordsStored, 3);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(Contents(h.path), "r0\r\nr1\r\nr2\r\n");
    EXPECT_EQ(h.Writes(), (std::vector<Bytes>{kRead, kAck, kAck, kAck, kAck}));
    EXPECT_EQ(h.peer.report().framesSent, 4);
}

TEST(Receive, WrongSequenceNumberIsRefusedAndNotStored) {
    ReceiveHarness h(Options({"wrong-sequence=1"}, Records({"r0", "r1"})));
    EXPECT_EQ(h.Receive().recordsStored, 2);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(h.Writes(), (std::vector<Bytes>{kRead, kAck, kNak, kAck}));
    EXPECT_EQ(Contents(h.path), "r0\r\nr1\r\n");
}

TEST(Receive, BadChecksumThenResend) {
    ReceiveHarness h(Options({"bad-checksum=0:2"}, Records({"r0"})));
    EXPECT_EQ(h.Receive().recordsStored, 1);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(h.Writes(), (std::vector<Bytes>{kRead, kNak, kNak, kAck}));
}

TEST(Receive, SequenceWrapsAfterNine) {
    std::vector<Bytes> records;
    for (int i = 0; i < 12; ++i) records.push_back(B("n" + std::to_string(i)));
    ReceiveHarness h(Options({}, records));
    EXPECT_EQ(h.Receive().recordsStored, 12);
    EXPECT_TRUE(h.outcome.Succeeded());
    std::string expected;
    for (int i = 0; i < 12; ++i) expected += "n" + std::to_string(i) + "\r\n";
    EXPECT_EQ(Contents(h.path), expected);
    EXPECT_EQ(h.peer.report().naksReceived, 0);
}

// Frames worked out by hand, sent by a scripted terminal after "READ\r" and each answer.
struct FrameCase {
    const char* name;
    Bytes frame;
    Bytes answer;
    const char* stored;
    int answers = 1;
};

TEST(Receive, HandWorkedFrames) {
    Bytes longest{0};
    for (int i = 0; i < 251; ++i) longest.push_back('a');  // 251 * 0x61 = 24347 = 0x5F1B
    longest.insert(longest.end(), {0x1B, 0x5F, 13});
    Bytes tooLong{0};
    for (int i = 0; i < 252; ++i) tooLong.push_back('a');  // 24444 = 0x5F7C
    tooLong.insert(tooLong.end(), {0x7C, 0x5F, 13});
    Bytes highCr{0};
    for (int i = 0; i < 14; ++i) highCr.push_back(0xFF);  // 3570 = 0x0DF2
    highCr.insert(highCr.end(), {0xF2, 0x0E, 13});
    const FrameCase cases[] = {
        {"ABC", B({0, 'A', 'B', 'C', 0xC6, 0x00, 13}), kAck, "ABC\r\n"},
        {"low byte 0x0D sent as 0x0E", B({0, 6, 7, 0x0E, 0x00, 13}), kAck, "\x06\x07\r\n"},
        // The stray CR ends a first frame, the rest is a second one: both refused.
        {"low byte 0x0D sent as 0x0D is refused", B({0, 6, 7, 0x0D, 0x00, 13}), kNak, "", 2},
        {"high byte 0x0D sent as 0x0E", highCr, kAck,
         "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\r\n"},
        {"high and low swapped", B({0, 'A', 'B', 'C', 0x00, 0xC6, 13}), kNak, ""},
        {"wrong sequence", B({3, 'A', 'B', 'C', 0xC9, 0x00, 13}), kNak, ""},
        {"digit instead of sequence byte", B({'0', 'A', 'B', 'C', 0xF6, 0x00, 13}), kNak, ""},
        {"empty record", B({0, 0, 0, 13}), kAck, "\r\n"},
        {"three bytes", B({0, 0, 13}), kNak, ""},
        {"lone CR", B({13}), kNak, ""},
        {"255-byte frame", longest, kAck, nullptr},
        {"256-byte frame", tooLong, kNak, ""},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.name);
        bool sent = false;
        ReceiveHarness h([&](const Bytes& w, std::int64_t now, std::vector<PeerEmission>& out) {
            if (w == kRead) {
                out.push_back({now, kAck});
                out.push_back({now, c.frame});
                sent = true;
            } else if (sent) {
                out.push_back({now, B("OVER\r")});
                sent = false;
            }
        });
        const bool accepted = c.answer == kAck;
        EXPECT_EQ(h.Receive().recordsStored, accepted ? 1 : 0);
        EXPECT_TRUE(h.outcome.Succeeded());
        std::vector<Bytes> expected{kRead};
        for (int i = 0; i < c.answers; ++i) expected.push_back(c.answer);
        EXPECT_EQ(h.Writes(), expected);
        if (accepted) {
            EXPECT_EQ(Contents(h.path), c.stored ? std::string(c.stored) : std::string(251, 'a') + "\r\n");
        } else {
            EXPECT_FALSE(Exists(h.path));
        }
    }
}

TEST(Receive, RepeatOfTheRecordJustStoredIsAcknowledgedOtherNumbersAreNot) {
    // Expected 1 after record 0: 0 is the repeat, 2 and 9 are refused.
    const Bytes r0 = B({0, 'A', 0x41, 0x00, 13});
    const Bytes r2 = B({2, 'A', 0x43, 0x00, 13});
    const Bytes r9 = B({9, 'A', 0x4A, 0x00, 13});
    const Bytes r1 = B({1, 'B', 0x43, 0x00, 13});
    std::vector<Bytes> script = {r0, r0, r2, r9, r1, B("OVER\r")};
    std::size_t next = 0;
    ReceiveHarness h([&](const Bytes& w, std::int64_t now, std::vector<PeerEmission>& out) {
        if (w == kRead) out.push_back({now, kAck});
        if (next < script.size()) out.push_back({now, script[next++]});
    });
    EXPECT_EQ(h.Receive().recordsStored, 2);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(h.Writes(), (std::vector<Bytes>{kRead, kAck, kAck, kNak, kNak, kAck}));
    EXPECT_EQ(Contents(h.path), "A\r\nB\r\n");
}

TEST(Receive, SilentTerminalGetsFourRequests) {
    ReceiveHarness h(Options({"silent"}));
    EXPECT_EQ(h.Receive().failure, LinkFailure::NotReady);
    EXPECT_EQ(h.TimesOf(kRead), (std::vector<std::int64_t>{0, 3000, 6000, 9000}));
    ASSERT_EQ(h.ui.shown.size(), 2u);
    EXPECT_EQ(h.ui.shown[0].text, "逾時!!");
    EXPECT_EQ(h.ui.shown[0].title, "錯誤");
    EXPECT_EQ(h.ui.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(h.ui.shown[0].at, 12000);
    EXPECT_EQ(h.ui.shown[1].text, kNothing);
    EXPECT_FALSE(Exists(h.path));
    EXPECT_TRUE(h.ui.status.empty());  // ended in the request phase: no status box
}

TEST(Receive, WrongAnswersGetSixRequests) {
    ReceiveHarness h(Options({"refuse-handshake=100"}));
    EXPECT_EQ(h.Receive().failure, LinkFailure::NotReady);
    EXPECT_EQ(h.Count(kRead), 6);
    EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{"通訊埠無法連通!!", kNothing}));
    EXPECT_FALSE(Exists(h.path));
}

TEST(Receive, AnswerWithoutCrCountsAsSilence) {
    ReceiveHarness h(Options({"refuse-handshake=100:ACK"}));
    EXPECT_EQ(h.Receive().failure, LinkFailure::NotReady);
    EXPECT_EQ(h.Count(kRead), 4);
    EXPECT_EQ(h.ui.Texts()[0], "逾時!!");
}

TEST(Receive, TerminalThatFallsSilentGetsTenNaksAndKeepsWhatWasStored) {
    ReceiveHarness h(Options({"silent-after=2"}, Records({"r0", "r1", "r2"})));
    EXPECT_EQ(h.Receive().failure, LinkFailure::TimedOut);
    std::vector<Bytes> expected{kRead, kAck, kAck};
    for (int i = 0; i < 10; ++i) expected.push_back(kNak);
    EXPECT_EQ(h.Writes(), expected);
    std::vector<std::int64_t> naks = h.TimesOf(kNak);
    EXPECT_EQ(naks.front(), 500);
    EXPECT_EQ(naks.back(), 5000);
    // Acknowledged records are gone from the terminal: they stay in the file, and the user hears so.
    EXPECT_TRUE(Exists(h.path));
    EXPECT_EQ(Contents(h.path), "r0\r\nr1\r\n");
    ASSERT_EQ(h.ui.shown.size(), 2u);
    EXPECT_EQ(h.ui.shown[0].text, "逾時!!");
    EXPECT_EQ(h.ui.shown[0].at, 5500);
    EXPECT_NE(h.ui.shown[1].text.find("2"), std::string::npos);
    EXPECT_EQ(h.ui.shown[1].title, "接收資料");
    EXPECT_EQ(h.outcome.recordsStored, 2);
    EXPECT_TRUE(h.outcome.fileKept);
    EXPECT_EQ(h.ui.status.back(), "end");
}

TEST(Receive, TimeOutBeforeAnyRecordDeletesTheFile) {
    // Answer the request, then say nothing.
    ReceiveHarness s([](const Bytes& w, std::int64_t now, std::vector<PeerEmission>& out) {
        if (w == kRead) out.push_back({now, kAck});
    });
    EXPECT_EQ(s.Receive().failure, LinkFailure::TimedOut);
    EXPECT_EQ(s.Count(kNak), 10);
    EXPECT_FALSE(Exists(s.path));
    EXPECT_EQ(s.ui.Texts(), std::vector<std::string>{"逾時!!"});
}

TEST(Receive, LateFrameGetsANakAndIsTakenInTheNextWindow) {
    ReceiveHarness h(Options({"pause-record=0:600"}, Records({"r0"})));
    EXPECT_EQ(h.Receive().recordsStored, 1);
    EXPECT_TRUE(h.outcome.Succeeded());
    // The NAK draws a second send behind the late one: it answers that NAK, so it gets no reply of its
    // own, and the terminal's "OVER" follows our one ACK.
    EXPECT_EQ(h.Writes(), (std::vector<Bytes>{kRead, kNak, kAck}));
    EXPECT_EQ(h.peer.report().recordsAcknowledged, 1);
    EXPECT_TRUE(h.peer.report().uploadComplete);
    EXPECT_EQ(h.TimesOf(kNak), std::vector<std::int64_t>{500});
    EXPECT_EQ(Contents(h.path), "r0\r\n");
}

TEST(Receive, RecordIsInTheFileBeforeItsAckGoesOut) {
    std::string dir;
    std::vector<std::string> seenAtAck;
    int sent = 0;
    ReceiveHarness h([&](const Bytes& w, std::int64_t now, std::vector<PeerEmission>& out) {
        if (w == kRead) {
            out.push_back({now, kAck});
            out.push_back({now, B({0, 'A', 0x41, 0x00, 13})});
            sent = 1;
        } else if (w == kAck) {
            // The one file in the folder: the temporary file the records go to until the end.
            const std::vector<std::string> files = FilesIn(dir);
            seenAtAck.push_back(files.size() == 1 ? Contents(dir + "/" + files[0]) : "?");
            out.push_back({now, sent == 1 ? B({1, 'B', 0x43, 0x00, 13}) : B("OVER\r")});
            ++sent;
        }
    });
    dir = h.dir;
    EXPECT_EQ(h.Receive().recordsStored, 2);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(seenAtAck, (std::vector<std::string>{"A\r\n", "A\r\nB\r\n"}));
    EXPECT_EQ(FilesIn(h.dir), std::vector<std::string>{"data.txt"});
    EXPECT_EQ(Contents(h.path), "A\r\nB\r\n");
}

TEST(Receive, WriteFailureRefusesTheRecordStopsAndKeepsTheRest) {
    ReceiveHarness h(Options({}, Records({"0123456789", "abcdefghij", "KLMNOPQRST"})));
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 30;  // room for two lines of 12 bytes, not three
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const TransferOutcome result = h.Receive();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result.failure, LinkFailure::FileWrite);
    EXPECT_EQ(h.Writes(), (std::vector<Bytes>{kRead, kAck, kAck, kNak}));
    EXPECT_EQ(Contents(h.path), "0123456789\r\nabcdefghij\r\n");
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].title, "錯誤");
    EXPECT_NE(h.ui.shown[0].text.find("2"), std::string::npos);
    EXPECT_EQ(h.outcome.failure, LinkFailure::FileWrite);
}

TEST(Receive, FileAndPortFailures) {
    {
        ReceiveHarness h(Options({}));
        h.ui.dataChoice.reset();
        EXPECT_EQ(h.Receive().failure, LinkFailure::Cancelled);
        EXPECT_TRUE(h.ui.shown.empty());
        EXPECT_TRUE(h.lines.log.opened.empty());
    }
    {
        ReceiveHarness h(Options({}));
        h.ui.dataChoice = "/nonexistent/k52/data.txt";
        EXPECT_EQ(h.Receive().failure, LinkFailure::CannotOpenFile);
        EXPECT_EQ(h.ui.Texts(), std::vector<std::string>{"開啟 / 新建檔案失敗!!"});
        EXPECT_EQ(h.ui.shown[0].icon, MessageIcon::None);
        EXPECT_TRUE(h.lines.log.opened.empty());
    }
    {
        ReceiveHarness h(Options({}));
        h.lines.refuseOpen = true;
        EXPECT_EQ(h.Receive().failure, LinkFailure::PortOpen);
        EXPECT_EQ(h.ui.Texts(), std::vector<std::string>{"無法打開通訊埠!!"});
        EXPECT_EQ(h.ui.shown[0].icon, MessageIcon::None);
        // Nothing was received, so nothing is left behind.
        EXPECT_TRUE(FilesIn(h.dir).empty());
    }
    {
        ReceiveHarness h(Options({}));
        h.lines.refuseApply = true;
        EXPECT_EQ(h.Receive().failure, LinkFailure::LineSettings);
        EXPECT_TRUE(h.ui.shown.empty());
        EXPECT_EQ(h.lines.log.closes, 1);
        EXPECT_TRUE(FilesIn(h.dir).empty());
    }
    {
        // An existing file is replaced once records came.
        ReceiveHarness h(Options({}, Records({"new"})));
        std::ofstream(h.path) << "old contents that are longer\r\n";
        EXPECT_EQ(h.Receive().recordsStored, 1);
        EXPECT_TRUE(h.outcome.Succeeded());
        EXPECT_EQ(Contents(h.path), "new\r\n");
    }
}

TEST(Receive, EveryCommandStartsAtSequenceZero) {
    ReceiveHarness h(Options({}, Records({"a", "b", "c"})));
    EXPECT_EQ(h.Receive().recordsStored, 3);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(h.Receive().recordsStored, 3);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(Contents(h.path), "a\r\nb\r\nc\r\n");
}

}  // namespace
}  // namespace k52::test

namespace k52::test {
namespace {

TEST(ReceiveUnderFaults, LateFirstFrameThenARefusalStillStoresEveryRecordOnce) {
    // The late frame's NAK draws a resend; answering that resend too would shift every later reply by one,
    // and the refusal of the third record would then land on the wrong one.
    ReceiveHarness h(
        Options({"pause-record=0:700", "bad-checksum=2"}, Records({"first", "second", "third"})));
    EXPECT_EQ(h.Receive().recordsStored, 3);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(Contents(h.path), "first\r\nsecond\r\nthird\r\n");
    EXPECT_EQ(h.peer.report().recordsAcknowledged, 3);
    EXPECT_TRUE(h.peer.report().uploadComplete);
    EXPECT_TRUE(h.peer.report().errors.empty());
}

TEST(ReceiveUnderFaults, AFrameStillArrivingWhenItsWindowWouldEndIsNotCutOff) {
    // Seven bytes 200 ms apart: the frame takes 1.2 s, but no gap reaches 500 ms.
    ReceiveHarness h(Options({"split=200"}, Records({"abc"})));
    EXPECT_EQ(h.Receive().recordsStored, 1);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(h.Count(kNak), 0);
    EXPECT_EQ(Contents(h.path), "abc\r\n");
}

TEST(ReceiveUnderFaults, ATerminalThatKeepsSendingBadFramesIsGivenUpAfterTenRefusals) {
    ReceiveHarness h(Options({"bad-checksum=1:1000"}, Records({"ok", "bad"})));
    EXPECT_EQ(h.Receive().failure, LinkFailure::TooManyRefusals);
    std::vector<Bytes> expected{kRead, kAck};
    for (int i = 0; i < 10; ++i) expected.push_back(kNak);
    EXPECT_EQ(h.Writes(), expected);
    EXPECT_EQ(Contents(h.path), "ok\r\n");
    EXPECT_TRUE(h.outcome.lastMayComeAgain);
    ASSERT_EQ(h.ui.shown.size(), 2u);
    EXPECT_EQ(h.ui.shown[0].text, "資料連續錯誤, 接收中斷!!");
    EXPECT_NE(h.ui.shown[1].text.find("第 1 筆資料下次可能會再傳送一次"), std::string::npos)
        << h.ui.shown[1].text;
}

TEST(ReceiveUnderFaults, NothingToSendIsASuccessWithNoRecords) {
    ReceiveHarness h(Options({}));
    EXPECT_TRUE(h.Receive().Succeeded());
    EXPECT_EQ(h.outcome.recordsStored, 0);
    EXPECT_FALSE(h.outcome.fileKept);
}

TEST(ReceiveFile, AFailedReceiveLeavesAnExistingFileAsItWas) {
    ReceiveHarness h(Options({"silent"}));
    std::ofstream(h.path, std::ios::binary) << "yesterday's records\r\n";
    chmod(h.path.c_str(), 0640);
    EXPECT_EQ(h.Receive().failure, LinkFailure::NotReady);
    EXPECT_EQ(Contents(h.path), "yesterday's records\r\n");
    EXPECT_EQ(FilesIn(h.dir), std::vector<std::string>{"data.txt"});
}

TEST(ReceiveFile, ReplacingKeepsTheModeAndWritesThroughASymbolicLink) {
    ReceiveHarness h(Options({}, Records({"new"})));
    const std::string target = h.dir + "/target.txt";
    std::ofstream(target, std::ios::binary) << "old\r\n";
    chmod(target.c_str(), 0604);
    ASSERT_EQ(symlink("target.txt", h.path.c_str()), 0);
    EXPECT_TRUE(h.Receive().Succeeded());
    struct stat link {
    }, st{};
    ASSERT_EQ(lstat(h.path.c_str(), &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
    EXPECT_EQ(Contents(target), "new\r\n");
}

TEST(ReceiveFile, AReadOnlyFileOrAFolderIsRefusedBeforeThePortOpens) {
    if (geteuid() == 0) GTEST_SKIP() << "root may write a read-only file";
    ReceiveHarness h(Options({}, Records({"new"})));
    std::ofstream(h.path, std::ios::binary) << "keep\r\n";
    chmod(h.path.c_str(), 0444);
    EXPECT_EQ(h.Receive().failure, LinkFailure::CannotOpenFile);
    EXPECT_EQ(h.outcome.reason, "Permission denied");
    EXPECT_TRUE(h.lines.log.opened.empty());
    EXPECT_EQ(Contents(h.path), "keep\r\n");
}

TEST(ReceiveFile, AFolderIsRefusedBeforeThePortOpens) {
    ReceiveHarness h(Options({}, Records({"new"})));
    h.ui.dataChoice = h.dir;
    EXPECT_EQ(h.Receive().failure, LinkFailure::CannotOpenFile);
    EXPECT_EQ(h.outcome.reason, "Is a directory");
    EXPECT_TRUE(h.lines.log.opened.empty());
}

}  // namespace
}  // namespace k52::test
