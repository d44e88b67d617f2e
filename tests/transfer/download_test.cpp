// Program download over the in-memory line: handshake, image packets, retries, failures and the
// progress window, all on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/LinkHarness.h"

namespace k52::test {
namespace {

const Bytes kVarnel = B("VARNEL\r");
constexpr const char* kNotReady = "終端機尚未就緒!!";
constexpr const char* kFailed = "下載失敗!!";
constexpr const char* kRetry = "下載失敗,再試一次嗎??";
constexpr const char* kDone = "下載完畢!!";

// Writes that are image packets (103 bytes), as their packet numbers.
std::vector<int> PacketNumbers(const Harness& h) {
    std::vector<int> n;
    for (const Bytes& w : h.Writes())
        if (w.size() == 103) n.push_back(w[102]);
    return n;
}

std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i <= to; ++i) v.push_back(i);
    return v;
}

TEST(Download, SendsHandshakeThenAll105PacketsWithSumsHighByteFirst) {
    Harness h;
    EXPECT_TRUE(h.Download().Ran());
    EXPECT_TRUE(h.outcome.Succeeded());

    std::vector<Bytes> w = h.Writes();
    ASSERT_EQ(w.size(), 106u);
    EXPECT_EQ(w[0], kVarnel);
    const DownloadImage& image = h.link.imageBuilder().image();
    for (int n = 0; n < 105; ++n) {
        const Bytes& p = w[static_cast<std::size_t>(n) + 1];
        ASSERT_EQ(p.size(), 103u);
        EXPECT_TRUE(std::equal(p.begin(), p.begin() + 100, image.begin() + 100 * n)) << n;
        unsigned sum = 0;
        for (int i = 0; i < 100; ++i) sum += p[static_cast<std::size_t>(i)];
        EXPECT_EQ(p[100], sum / 256) << n;
        EXPECT_EQ(p[101], sum % 256) << n;
        EXPECT_EQ(p[102], n);
    }
    // Image bytes 10400..10499 are never written: packet 104 is all zero but for its number.
    Bytes last(100, 0);
    last.insert(last.end(), {0, 0, 104});
    EXPECT_EQ(w[105], last);
    // The start target (form 1 of a new template) leads packet 0.
    EXPECT_EQ(w[1][0], 1);
    EXPECT_TRUE(h.peer.report().imageComplete);
    EXPECT_TRUE(h.peer.report().errors.empty());
    EXPECT_EQ(h.peer.report().image, Bytes(image.begin(), image.end()));

    // The terminal answers at once: the whole download takes no time, and ends with the port
    // discarded and closed, speed from the port settings (115200), 8N1, no control lines.
    EXPECT_EQ(h.clock.NowMs(), 0);
    EXPECT_EQ(h.lines.log.opened, std::vector<int>{0});
    // Input is discarded before each of the 106 sends, so no stale reply counts, and once at the close.
    EXPECT_EQ(h.lines.log.discards, 107);
    EXPECT_EQ(h.lines.log.closes, 1);
    ASSERT_EQ(h.lines.log.applied.size(), 1u);
    const LineSettings& s = h.lines.log.applied[0].settings;
    EXPECT_EQ(s.speed, 115200u);
    EXPECT_EQ(s.dataBits, 8);
    EXPECT_FALSE(s.parity);
    EXPECT_EQ(s.stopBits, 1);
    EXPECT_FALSE(s.dtr);
    EXPECT_FALSE(s.rts);
    EXPECT_FALSE(s.ctsOutputFlow);
    EXPECT_FALSE(s.xonXoffOutput);
}

// Unplugged at packet 10: no retry question (another attempt could only fail), no time-outs waited out.
// The phases a front end follows: the greeting, packet k of 105 after each acknowledgement, the close,
// and the end with every byte that crossed the line (7 + 105 x 103 out, 106 x "ACK\r" back).
TEST(Download, ReportsEachPhaseWithTheBytesMoved) {
    Harness h;
    ASSERT_TRUE(h.Download().Succeeded());
    const std::vector<TransferProgress>& p = h.ui.phases;
    ASSERT_EQ(p.size(), 109u);
    EXPECT_EQ(p[107].phase, TransferPhase::Closing);
    EXPECT_EQ(p[0].phase, TransferPhase::Handshake);
    for (int k = 0; k <= 105; ++k) {
        EXPECT_EQ(p[static_cast<std::size_t>(k) + 1].phase, TransferPhase::SendingPacket);
        EXPECT_EQ(p[static_cast<std::size_t>(k) + 1].done, k);
        EXPECT_EQ(p[static_cast<std::size_t>(k) + 1].total, 105);
    }
    EXPECT_EQ(p[1].bytesSent, 7);
    EXPECT_EQ(p[1].bytesReceived, 4);
    EXPECT_EQ(p.back().phase, TransferPhase::Done);
    EXPECT_EQ(p.back().bytesSent, 7 + 105 * 103);
    EXPECT_EQ(p.back().bytesReceived, 106 * 4);
}

// A terminal that never answers: the greeting three times, nothing back, and "no reply" to tell apart
// from a terminal that refuses.
TEST(Download, ASilentTerminalEndsFailedAndUnanswered) {
    Harness silent(Options({"silent"}));
    EXPECT_TRUE(silent.Download().unanswered);
    EXPECT_EQ(silent.ui.phases.back().phase, TransferPhase::Failed);
    EXPECT_EQ(silent.ui.phases.back().bytesSent, 3 * 7);
    Harness refusing(Options({"refuse-packet=3:4"}));
    EXPECT_EQ(refusing.Download().failure, LinkFailure::TransferFailed);
    EXPECT_FALSE(refusing.outcome.unanswered);
    EXPECT_EQ(refusing.ui.phases.back().phase, TransferPhase::Failed);
}

TEST(Download, ALostLineEndsAtOnceWithoutAskingToRetry) {
    Harness h;
    h.lines.hangUpAfterWrites = 11;  // the handshake and packets 0..9
    h.ui.answers = {MessageAnswer::Yes};
    h.Download();
    EXPECT_EQ(h.outcome.failure, LinkFailure::LineLost);
    EXPECT_EQ(h.outcome.attempts, 1);
    EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{"通訊埠已中斷 (傳輸線或轉接器被拔除?)!!"}));
    EXPECT_LT(h.clock.NowMs(), 1000);
}

TEST(Download, ProgressWindowAndSuccessMessage) {
    Harness h;
    h.Download();
    // Five steps ahead of the packets, full from packet 95 on (a bar set where it stands is no change).
    EXPECT_EQ(h.ui.progress, Range(5, 100));
    EXPECT_EQ(h.ui.phases[100].percent, 100);
    EXPECT_EQ(h.ui.phases[106].percent, 100);
    EXPECT_EQ(h.ui.events, (std::vector<std::string>{"progress begin 下載程式 下載中...", "progress end",
                                                     std::string("message ") + kDone}));
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].title, "Download");
    EXPECT_EQ(h.ui.shown[0].icon, MessageIcon::Exclamation);
}

TEST(Download, SpeedComesFromThePortSettings) {
    const std::uint32_t speeds[] = {115200, 57600, 38400, 19200, 9600};
    for (int rate = 0; rate < 5; ++rate) {
        Harness h;
        h.tmpl.portSettings = {3, static_cast<u8>(rate)};
        h.Download();
        EXPECT_EQ(h.lines.log.opened, std::vector<int>{3});
        EXPECT_EQ(h.lines.log.writes[0].settings.speed, speeds[rate]);
    }
}

TEST(Download, SecondHandshakeAnsweredGoesOnWithPacketZero) {
    Harness h(Options({"refuse-handshake=1"}));
    h.Download();
    std::vector<Bytes> w = h.Writes();
    EXPECT_EQ(w[0], kVarnel);
    EXPECT_EQ(w[1], kVarnel);
    ASSERT_EQ(w[2].size(), 103u);
    EXPECT_EQ(w[2][102], 0);
    EXPECT_EQ(h.Count(kVarnel), 2);
    EXPECT_TRUE(h.outcome.Succeeded());
}

TEST(Download, AckWithoutCrIsAcceptedWhenTheWaitEnds) {
    Harness h(Options({"refuse-handshake=1:ACK"}));
    h.Download();
    EXPECT_EQ(h.Count(kVarnel), 1);
    ASSERT_EQ(h.lines.log.writes[1].bytes.size(), 103u);
    EXPECT_EQ(h.lines.log.writes[1].atMs, 3000);
    EXPECT_TRUE(h.outcome.Succeeded());
}

TEST(Download, TenBytesWithoutCrEndTheWaitAtOnceAsARefusal) {
    Harness h(Options({"refuse-handshake=1:0123456789"}));
    h.Download();
    EXPECT_EQ(h.TimesOf(kVarnel), (std::vector<std::int64_t>{0, 0}));
    EXPECT_TRUE(h.outcome.Succeeded());
}

TEST(Download, RepliesArrivingByteByByteAreCollected) {
    Harness h(Options({"split=7"}));
    h.Download();
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(h.Count(kVarnel), 1);
    EXPECT_EQ(PacketNumbers(h), Range(0, 104));
    EXPECT_EQ(h.clock.NowMs(), 106 * 21);  // "ACK\r" takes 3 gaps of 7 ms each time
}

TEST(Download, HalfAnAckIsARefusalEvenAfterAGoodOne) {
    Harness h(Options({"refuse-packet=0:1:AC"}));
    h.Download();
    std::vector<int> numbers = PacketNumbers(h);
    ASSERT_GE(numbers.size(), 2u);
    EXPECT_EQ(numbers[0], 0);
    EXPECT_EQ(numbers[1], 0);
    EXPECT_EQ(h.lines.log.writes[2].atMs, 3000);
    EXPECT_TRUE(h.outcome.Succeeded());
}

TEST(Download, LowerCaseAckIsARefusal) {
    Harness h(Options({"refuse-handshake=3:ack\\r"}));
    h.Download();
    EXPECT_EQ(h.Count(kVarnel), 3);
    EXPECT_FALSE(h.outcome.Succeeded());
}

TEST(Download, SilentTerminalGetsThreeHandshakesInNineSeconds) {
    Harness h(Options({"silent"}));
    EXPECT_TRUE(h.Download().Ran());  // an attempt ran
    EXPECT_EQ(h.TimesOf(kVarnel), (std::vector<std::int64_t>{0, 3000, 6000}));
    ASSERT_EQ(h.ui.shown.size(), 2u);
    EXPECT_EQ(h.ui.shown[0].text, kNotReady);
    EXPECT_EQ(h.ui.shown[0].title, "錯誤");
    EXPECT_EQ(h.ui.shown[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(h.ui.shown[0].at, 9000);
    EXPECT_EQ(h.ui.shown[1].text, kRetry);
    EXPECT_EQ(h.ui.shown[1].title, "錯誤");
    EXPECT_EQ(h.ui.shown[1].icon, MessageIcon::Question);
    EXPECT_EQ(h.ui.shown[1].buttons, MessageButtons::YesNo);
    // No progress window without a handshake; No closes the port.
    EXPECT_TRUE(h.ui.progress.empty());
    EXPECT_EQ(h.lines.log.closes, 1);
    EXPECT_EQ(h.lines.log.discards, 4);  // before each handshake and at the close
    EXPECT_EQ(h.outcome.failure, LinkFailure::TransferFailed);
}

TEST(Download, RefusedHandshakesAreAskedAboutAtOnce) {
    Harness h(Options({"refuse-handshake=3"}));
    h.Download();
    EXPECT_EQ(h.TimesOf(kVarnel), (std::vector<std::int64_t>{0, 0, 0}));
    EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{kNotReady, kRetry}));
}

TEST(Download, PacketRefusedFourTimesStopsTheAttemptAndYesStartsOver) {
    Harness h(Options({"refuse-packet=50:4"}));
    h.ui.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(h.Download().Ran());
    std::vector<int> expected = Range(0, 50);
    expected.insert(expected.end(), {50, 50, 50});
    std::vector<int> second = Range(0, 104);
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(PacketNumbers(h), expected);
    EXPECT_EQ(h.Count(kVarnel), 2);
    EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{kFailed, kRetry, kDone}));
    EXPECT_EQ(h.outcome.attempts, 2);
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_TRUE(h.peer.report().imageComplete);
    // The failure is told while the window is up; the new attempt opens a new one.
    EXPECT_EQ(h.ui.events[0], "progress begin 下載程式 下載中...");
    EXPECT_EQ(h.ui.events[1], std::string("message ") + kFailed);
    EXPECT_EQ(h.ui.events[2], "progress end");
    EXPECT_EQ(h.ui.progress[49], 54);
    EXPECT_EQ(h.ui.progress[50], 5);
}

TEST(Download, UnansweredPacketCostsTwelveSecondsAndNoStillCloses) {
    Harness h(Options({"ignore-packet=7:4"}));
    EXPECT_TRUE(h.Download().Ran());
    std::vector<std::int64_t> sends;
    for (const auto& w : h.lines.log.writes)
        if (w.bytes.size() == 103 && w.bytes[102] == 7) sends.push_back(w.atMs);
    EXPECT_EQ(sends, (std::vector<std::int64_t>{0, 3000, 6000, 9000}));
    EXPECT_EQ(PacketNumbers(h).back(), 7);  // packets 8.. are not sent
    ASSERT_EQ(h.ui.shown.size(), 2u);
    EXPECT_EQ(h.ui.shown[0].text, kFailed);
    EXPECT_EQ(h.ui.shown[0].at, 12000);
    EXPECT_EQ(h.lines.log.closes, 1);
    EXPECT_FALSE(h.outcome.Succeeded());
}

TEST(Download, PacketAnsweredOnTheFourthSendGoesThrough) {
    Harness h(Options({"refuse-packet=104:3"}));
    h.Download();
    EXPECT_TRUE(h.outcome.Succeeded());
    EXPECT_EQ(PacketNumbers(h).size(), 108u);
    EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{kDone}));
}

TEST(Download, ARetryRebuildsTheImageFromTheTemplateAsItIsThen) {
    Harness h(Options({"refuse-packet=0:4"}));
    h.ui.answers = {MessageAnswer::Yes};
    h.ui.onAnswer = [&] { h.tmpl.startPosition = 1; };
    h.Download();
    ASSERT_TRUE(h.peer.report().imageComplete);
    EXPECT_EQ(h.peer.report().image[0], 11);  // menu 1
    EXPECT_EQ(PacketNumbers(h)[0], 0);
    EXPECT_EQ(h.lines.log.writes[1].bytes[0], 1);  // the first attempt still started at form 1
}

TEST(Download, PortFailures) {
    {
        Harness h;
        h.lines.refuseOpen = true;
        EXPECT_FALSE(h.Download().Ran());
        EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{"連接埠無法打開!!"}));
        EXPECT_EQ(h.ui.shown[0].title, "錯誤");
        EXPECT_EQ(h.ui.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(h.outcome.failure, LinkFailure::PortOpen);
    }
    {
        Harness h;
        h.lines.refuseApply = true;
        EXPECT_EQ(h.Download().failure, LinkFailure::LineSettings);
        EXPECT_EQ(h.ui.Texts(), (std::vector<std::string>{"設置連接埠失敗!!"}));
        EXPECT_TRUE(h.lines.log.writes.empty());
        EXPECT_EQ(h.lines.log.closes, 1);
    }
}

TEST(Download, DamagedPortSettingsAreRefusedBeforeAnyPortOpens) {
    const PortSettings damaged[] = {{6, 0}, {0, 5}, {255, 255}};
    for (PortSettings p : damaged) {
        Harness h;
        h.tmpl.portSettings = p;
        EXPECT_FALSE(h.Download().Ran());
        EXPECT_TRUE(h.lines.log.opened.empty());
        ASSERT_EQ(h.ui.shown.size(), 1u);
        EXPECT_EQ(h.ui.shown[0].title, "錯誤");
        EXPECT_NE(h.ui.shown[0].text.find(std::to_string(p.comPort)), std::string::npos);
        EXPECT_EQ(h.outcome.failure, LinkFailure::BadPortSettings);
        EXPECT_EQ(h.Receive().failure, LinkFailure::BadPortSettings);
        EXPECT_TRUE(h.lines.log.opened.empty());
    }
}

TEST(Download, WaitsBlockInSlicesAndNeverSpin) {
    Harness h(Options({"silent"}));
    h.Download();
    // 9 s of waiting, each wait one blocking call per 50 ms slice: a stop is seen within a slice.
    EXPECT_EQ(h.clock.NowMs(), 9000);
    EXPECT_GE(h.lines.log.waits, 9000 / 50);
    EXPECT_LE(h.lines.log.waits, 9000 / 50 + 3);
}

}  // namespace
}  // namespace k52::test

namespace k52::test {
namespace {

TEST(DownloadUnderFaults, ALateAnswerNeverCountsForTheNextPacket) {
    // Packet 3's answer comes 3.5 s late, the answer to its resend 3.4 s late, so after the first one
    // the second is still to come; packet 4 arrives damaged once, and its refusal arrives behind it.
    Harness h(Options({"late-answer=3:3500", "late-answer=4:3400", "garble-packet=5"}));
    EXPECT_TRUE(h.Download().Succeeded());
    EXPECT_TRUE(h.peer.report().imageComplete);
    std::vector<int> numbers = PacketNumbers(h);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 3), 2);
    EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 4), 2);
}

TEST(DownloadUnderFaults, AnAnswerLostAfterTheLastPacketIsAnsweredAgain) {
    Harness h(Options({"lose-answer=104"}));
    EXPECT_TRUE(h.Download().Succeeded());
    EXPECT_EQ(PacketNumbers(h).back(), 104);
    EXPECT_EQ(PacketNumbers(h).size(), 106u);
}

TEST(DownloadUnderFaults, ADamagedPortNumberStillDownloadsToANamedDevice) {
    struct OneDevice : MemoryLineFactory {
        using MemoryLineFactory::MemoryLineFactory;
        bool FixedDevice() const override { return true; }
    };
    Harness h;
    OneDevice lines(h.clock, &h.peer);
    TerminalLink link(h.tmpl, lines, h.clock);
    h.tmpl.portSettings.comPort = 99;
    EXPECT_TRUE(link.Download({}, h.ui).Succeeded());
    EXPECT_TRUE(h.peer.report().imageComplete);
    h.tmpl.portSettings.baudRate = 9;  // an unknown speed still is refused
    EXPECT_EQ(link.Download({}, h.ui).failure, LinkFailure::BadPortSettings);
}

}  // namespace
}  // namespace k52::test
