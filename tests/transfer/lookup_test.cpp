// Lookup file download: record packets, the end marker, progress and the refusal of long records.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "support/LinkHarness.h"

namespace k52::test {
namespace {

const Bytes kVarnel = B("VARNEL\r");
const Bytes kOver = B("OVER\r");

class TempFile {
  public:
    explicit TempFile(const Bytes& content) {
        char name[] = "/tmp/k52-lookup-XXXXXX";
        int fd = mkstemp(name);
        EXPECT_GE(fd, 0);
        path = name;
        EXPECT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
        close(fd);
    }
    ~TempFile() { std::remove(path.c_str()); }
    std::string path;
};

// Everything sent after the handshake.
std::vector<Bytes> Sent(const Harness& h) {
    std::vector<Bytes> w = h.Writes();
    if (w.empty() || w[0] != kVarnel) {
        ADD_FAILURE() << "no handshake";
        return w;
    }
    return std::vector<Bytes>(w.begin() + 1, w.end());
}

struct PacketCase {
    const char* name;
    Bytes file;
    std::vector<Bytes> packets;  // the end marker follows
};

TEST(LookupDownload, RecordPackets) {
    std::string big(14, '\xFF');  // sum 3570 = 0x0DF2: the high byte travels as 0x0E
    const PacketCase cases[] = {
        {"CR LF lines",
         B("A\r\nB\r\nC\r\n"),
         {B({'A', 0, 'A', 13}), B({'B', 0, 'B', 13}), B({'C', 0, 'C', 13})}},
        {"no final line end",
         B("A\r\nB\r\nC"),
         {B({'A', 0, 'A', 13}), B({'B', 0, 'B', 13}), B({'C', 0, 'C', 13})}},
        {"LF only: a Linux text file",
         B("A\nB\nC\n"),
         {B({'A', 0, 'A', 13}), B({'B', 0, 'B', 13}), B({'C', 0, 'C', 13})}},
        {"an LF-only line where CR ends the others",
         B("A\nB\rC\r"),
         {B({'A', 0, 'A', 13}), B({'B', 0, 'B', 13}), B({'C', 0, 'C', 13})}},
        {"low byte 0x0D", B({6, 7, 13}), {B({6, 7, 0, 0x0E, 13})}},
        {"high byte 0x0D",
         B(big + "\r"),
         {B({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0E, 0xF2,
             13})}},
        {"empty line", B("\r\nX\r\n"), {B({0, 0, 13}), B({'X', 0, 'X', 13})}},
        {"two-byte characters pass as bytes", B({0xA4, 0xA4, 13, 10}), {B({0xA4, 0xA4, 0x01, 0x48, 13})}},
    };
    for (const PacketCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile f(c.file);
        Harness h;
        h.ui.lookupChoice = f.path;
        EXPECT_TRUE(h.Download(Transport::Direct, Payload::Lookup).Succeeded());
        std::vector<Bytes> expected = c.packets;
        expected.push_back(kOver);
        EXPECT_EQ(Sent(h), expected);
        EXPECT_TRUE(h.outcome.Succeeded());
        EXPECT_TRUE(h.peer.report().lookupComplete);
        EXPECT_TRUE(h.peer.report().errors.empty());
        EXPECT_EQ(h.peer.report().lookupRecords.size(), c.packets.size());
    }
}

TEST(LookupDownload, RecordsLongerThanAnImagePacketReachTheTerminalWhole) {
    // 100 and 150 data bytes: 103 and 153 bytes on the line, the first as long as an image packet.
    TempFile f(B(std::string(100, 'p') + "\r\n" + std::string(150, 'q') + "\r\n"));
    Harness h;
    h.ui.lookupChoice = f.path;
    h.Download(Transport::Direct, Payload::Lookup);
    std::vector<Bytes> sent = Sent(h);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].size(), 103u);
    EXPECT_EQ(sent[0][100], (100 * 'p') >> 8);  // 11200 = 0x2BC0
    EXPECT_EQ(sent[0][101], 0xC0);
    EXPECT_EQ(sent[1].size(), 153u);
    EXPECT_EQ(h.peer.report().lookupRecords,
              (std::vector<Bytes>{B(std::string(100, 'p')), B(std::string(150, 'q'))}));
    EXPECT_TRUE(h.outcome.Succeeded());
}

TEST(LookupDownload, ProgressAfterEvery128BytesThenFull) {
    std::string content;
    for (int i = 0; i < 100; ++i) content += "ABCDEFGH\r\n";  // 1000 bytes
    TempFile f(B(content));
    Harness h;
    h.ui.lookupChoice = f.path;
    h.Download(Transport::Direct, Payload::Lookup);
    EXPECT_EQ(h.ui.progress, (std::vector<int>{12, 25, 38, 51, 64, 76, 89, 100}));
    EXPECT_EQ(h.peer.report().lookupRecords.size(), 100u);
    EXPECT_EQ(h.peer.report().lookupRecords[99], B("ABCDEFGH"));
}

TEST(LookupDownload, EmptyFileWhenAllowedSendsOnlyTheEndMarkerAndSetsTheBarStraightToFull) {
    TempFile f(B(""));
    Harness h;
    DownloadRequest request;
    request.payload = Payload::Lookup;
    request.lookupFile = f.path;
    request.allowEmpty = true;
    EXPECT_TRUE(h.link.Download(request, h.ui).Succeeded());
    EXPECT_EQ(Sent(h), std::vector<Bytes>{kOver});
    EXPECT_EQ(h.ui.progress, std::vector<int>{100});
}

TEST(LookupDownload, FileWithoutRecordsIsRefusedUnlessAllowedAndTheRefusalNamesTheFile) {
    TempFile f(B("\xEF\xBB\xBF"));  // only a UTF-8 mark
    Harness h;
    h.ui.lookupChoice = f.path;
    EXPECT_FALSE(h.Download(Transport::Direct, Payload::Lookup).Succeeded());
    EXPECT_TRUE(h.lines.log.opened.empty());
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_TRUE(h.ui.shown[0].text.ends_with("\n檔案: " + f.path)) << h.ui.shown[0].text;
}

TEST(LookupDownload, RefusedEndMarkerAndYesSendsEverythingAgain) {
    TempFile f(B("A\r\nB\r\nC\r\n"));
    Harness h(Options({"refuse-packet=3:4"}));
    h.ui.answers = {MessageAnswer::Yes};
    h.ui.lookupChoice = f.path;
    EXPECT_TRUE(h.Download(Transport::Direct, Payload::Lookup).Succeeded());
    const Bytes a = B({'A', 0, 'A', 13}), b = B({'B', 0, 'B', 13}), c = B({'C', 0, 'C', 13});
    EXPECT_EQ(h.Writes(),
              (std::vector<Bytes>{kVarnel, a, b, c, kOver, kOver, kOver, kOver, kVarnel, a, b, c, kOver}));
    EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{"下載失敗!!", "下載失敗,再試一次嗎??", "下載完畢!!"}));
    EXPECT_EQ(h.peer.report().lookupRecords.size(), 3u);
}

TEST(LookupDownload, LongestRecordFitsAndOneByteMoreIsRefusedBeforeThePortOpens) {
    {
        TempFile f(B(std::string(253, 'x') + "\r\n"));
        Harness h;
        h.ui.lookupChoice = f.path;
        h.Download(Transport::Direct, Payload::Lookup);
        std::vector<Bytes> sent = Sent(h);
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0].size(), 256u);
        EXPECT_EQ(sent[0][253], (253 * 'x') >> 8);
        EXPECT_EQ(sent[0][254], (253 * 'x') & 0xFF);
    }
    {
        TempFile f(B("short\r\n" + std::string(254, 'y') + "\r\nlast\r\n"));
        Harness h;
        h.ui.lookupChoice = f.path;
        EXPECT_FALSE(h.Download(Transport::Direct, Payload::Lookup).Ran());
        EXPECT_TRUE(h.lines.log.opened.empty());
        EXPECT_TRUE(h.lines.log.writes.empty());
        ASSERT_EQ(h.ui.shown.size(), 1u);
        EXPECT_EQ(h.ui.shown[0].title, "錯誤");
        EXPECT_NE(h.ui.shown[0].text.find("第 2 行"), std::string::npos) << h.ui.shown[0].text;
        EXPECT_EQ(h.outcome.failure, LinkFailure::LookupRecordTooLong);
    }
}

TEST(LookupDownload, FileChoice) {
    {
        Harness h;  // cancelled: nothing opened
        EXPECT_EQ(h.Download(Transport::Direct, Payload::Lookup).failure, LinkFailure::Cancelled);
        EXPECT_TRUE(h.lines.log.opened.empty());
        EXPECT_TRUE(h.ui.shown.empty());
    }
    {
        Harness h;
        h.ui.lookupChoice = "/nonexistent/k52/lookup.txt";
        EXPECT_EQ(h.Download(Transport::Direct, Payload::Lookup).failure, LinkFailure::CannotOpenFile);
        EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{"無法開啟檔案!!"}));
        EXPECT_EQ(h.ui.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_TRUE(h.lines.log.opened.empty());
    }
    {
        // The dialog starts from the previous choice.
        TempFile f(B("A\r\n"));
        Harness h;
        h.ui.lookupChoice = f.path;
        h.Download(Transport::Direct, Payload::Lookup);
        h.Download(Transport::Direct, Payload::Lookup);
        EXPECT_EQ(h.ui.offeredLookup, (std::vector<std::string>{"", f.path}));
        EXPECT_EQ(h.link.lookupFileName(), f.path);
    }
}

}  // namespace
}  // namespace k52::test

namespace k52::test {
namespace {

TEST(LookupUnderFaults, ALateAnswerCostsOneResendWhichIsNamedAndNothingMore) {
    // The answer to L1 comes 3.1 s late: L1 goes out again at 3 s, and both answers arrive together.
    TempFile f(B("L0\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\n"));
    Harness h(Options({"pause-packet=1:3100"}));
    h.ui.lookupChoice = f.path;
    EXPECT_EQ(h.Download(Transport::Direct, Payload::Lookup).failure, LinkFailure::MaybeDuplicated);
    EXPECT_EQ(h.outcome.duplicateLines, std::vector<long>{2});
    EXPECT_EQ(h.peer.report().lookupRecords,
              (std::vector<Bytes>{B("L0"), B("L1"), B("L1"), B("L2"), B("L3"), B("L4"), B("L5")}));
    EXPECT_TRUE(h.peer.report().lookupComplete);
    ASSERT_EQ(h.ui.shown.size(), 2u);
    EXPECT_EQ(h.ui.shown[0].text, "下載完畢!!");
    EXPECT_NE(h.ui.shown[1].text.find("第 2 行"), std::string::npos) << h.ui.shown[1].text;
}

TEST(LookupUnderFaults, AClearRefusalIsResentWithoutAWarning) {
    TempFile f(B("A\r\nB\r\n"));
    Harness h(Options({"refuse-packet=1:2"}));
    h.ui.lookupChoice = f.path;
    EXPECT_TRUE(h.Download(Transport::Direct, Payload::Lookup).Succeeded());
    EXPECT_EQ(h.peer.report().lookupRecords, (std::vector<Bytes>{B("A"), B("B")}));
}

TEST(LookupUnderFaults, AStaleAnswerWaitingOnTheLineDoesNotAcknowledgeTheNextRecord) {
    // A terminal that answers the first record twice and refuses the second once.
    const Bytes a = B({'A', 0, 'A', 13}), b = B({'B', 0, 'B', 13});
    int bSends = 0;
    Harness h([&](const Bytes& w, std::int64_t now, std::vector<PeerEmission>& out) {
        if (w == B("VARNEL\r")) out.push_back({now, B("ACK\r")});
        if (w == a) out.push_back({now, B("ACK\rACK\r")});
        if (w == b) out.push_back({now, B(++bSends == 1 ? "NAK\r" : "ACK\r")});
        if (w == B("OVER\r")) out.push_back({now, B("ACK\r")});
    });
    TempFile f(B("A\r\nB\r\n"));
    h.ui.lookupChoice = f.path;
    EXPECT_TRUE(h.Download(Transport::Direct, Payload::Lookup).Succeeded());
    EXPECT_EQ(bSends, 2);
}

TEST(LookupFileChoice, AFifoIsRefusedWithoutWaitingForAWriter) {
    char dir[] = "/tmp/k52-fifo-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string fifo = std::string(dir) + "/lookup.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Harness h;
    h.ui.lookupChoice = fifo;
    EXPECT_EQ(h.Download(Transport::Direct, Payload::Lookup).failure, LinkFailure::CannotOpenFile);
    EXPECT_EQ(h.outcome.reason, "not a regular file");
    EXPECT_TRUE(h.lines.log.opened.empty());
    std::remove(fifo.c_str());
    rmdir(dir);
}

// The desk holds the chosen file against the layout of the lookup file it fills before anything goes.
void Layout(ApplicationTemplate& t, int n, int length, int keyStart, int keyLength) {
    LookupFileRecord& l = t.lookupFile(n);
    l.recordLength = static_cast<u8>(length);
    l.fieldCount = 1;
    l.keyField = 0;
    l.fieldStart[0] = static_cast<u8>(keyStart);
    l.fieldLength[0] = static_cast<u8>(keyLength);
}

TEST(LookupDownload, DeskChecksTheLayoutOfTheLookupFileItFills) {
    struct Case {
        const char* name;
        std::vector<int> defined;  // lookup files given a 6-byte layout, key in bytes 1-4
        std::optional<int> chosen;
        const char* file;
        std::vector<MessageAnswer> answers;
        bool asked;  // the misfit question came up, quoting `offending`
        const char* offending;
        bool sent;    // the transfer ran
        long filled;  // the done notice's lookup file
    } cases[] = {
        {"no layout: sent as before", {}, {}, "a,b,c\r\n", {}, false, "", true, 0},
        {"fits its one layout", {2}, {}, "ABCD12\r\nEFGH34\r\n", {}, false, "", true, 2},
        {"CSV refused on No", {1}, {}, "ABCD12\r\nA,B,C\r\n", {MessageAnswer::No}, true, "A,B,C", false, 0},
        {"CSV sent on Yes", {1}, {}, "ABCD12\r\nA,B,C\r\n", {MessageAnswer::Yes}, true, "A,B,C", true, 1},
        {"blank key refused", {1}, {}, "    12\r\n", {MessageAnswer::No}, true, "    12", false, 0},
        {"several layouts: the chosen one", {1, 3}, 3, "ABCD12\r\n", {}, false, "", true, 3},
        {"several layouts: choice cancelled", {1, 3}, {}, "ABCD12\r\n", {}, false, "", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile f(B(c.file));
        Harness h;
        for (int n : c.defined) Layout(h.tmpl, n, 6, 1, 4);
        h.ui.lookupChoice = f.path;
        h.ui.numberChoice = c.chosen;
        h.ui.answers.assign(c.answers.begin(), c.answers.end());
        h.Download(Transport::Direct, Payload::Lookup);
        const bool asked = !h.ui.shown.empty() && h.ui.shown[0].buttons == MessageButtons::YesNo;
        EXPECT_EQ(asked, c.asked);
        if (asked) {
            EXPECT_NE(h.ui.shown[0].text.find("\"" + std::string(c.offending) + "\""), std::string::npos)
                << h.ui.shown[0].text;
            EXPECT_EQ(h.ui.shown[0].text.find("ABCD12"), std::string::npos) << "a fitting line is not shown";
        }
        EXPECT_EQ(h.outcome.attempts > 0, c.sent);
        EXPECT_EQ(h.ui.offeredNumbers.size(), c.defined.size() > 1 ? 1u : 0u);
        if (!c.sent) continue;
        ASSERT_FALSE(h.ui.notices.empty());
        EXPECT_EQ(h.ui.notices.back().kind, NoticeKind::DownloadDone);
        EXPECT_EQ(h.ui.notices.back().count, c.filled);
        const bool named = h.ui.shown.back().text.find("已填入第 " + std::to_string(c.filled) + " 索引檔") !=
                           std::string::npos;
        EXPECT_EQ(named, c.filled > 0) << h.ui.shown.back().text;
    }
}

}  // namespace
}  // namespace k52::test
