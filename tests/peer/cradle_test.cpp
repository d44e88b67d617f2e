// The infrared cradle: probe order, the speed switch, time spent and control lines.
#include <gtest/gtest.h>

#include "support/LinkHarness.h"

namespace k52::test {
namespace {

struct Step {
    std::int64_t at;
    std::uint32_t speed;
    bool rts;
    Bytes bytes;
};

// The single-byte writes of the preparation, with the line state they went out on.
std::vector<Step> CradleWrites(const Harness& h) {
    std::vector<Step> steps;
    for (const auto& w : h.lines.log.writes)
        if (w.bytes.size() == 1) steps.push_back({w.atMs, w.settings.speed, w.settings.rts, w.bytes});
    return steps;
}

PeerOptions Cradle(std::uint32_t speed, std::initializer_list<const char*> faults = {}) {
    PeerOptions o = Options(faults);
    o.cradleSpeed = speed;
    return o;
}

TEST(Cradle, FoundOnTheFourthProbeAndSwitchedToTheTargetSpeed) {
    Harness h(Cradle(57600));
    h.tmpl.portSettings.baudRate = 0;  // 115200: command "6"
    EXPECT_TRUE(h.Download(Transport::Cradle).Ran());
    EXPECT_TRUE(h.outcome.Succeeded());
    std::vector<Step> steps = CradleWrites(h);
    ASSERT_EQ(steps.size(), 7u);
    // Each failed probe: apply, 100 ms, probe byte, 100 ms, 100 ms window, apply, 100 ms.
    const Step expected[] = {
        {200, 9600, false, B({0x0F})},   {600, 115200, false, B({0x0F})}, {1000, 38400, false, B({0x0F})},
        {1400, 57600, false, B({0x0F})}, {1700, 57600, false, B({0x07})}, {1800, 57600, false, B({'6'})},
        {1900, 57600, false, B({'Q'})},
    };
    for (std::size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(steps[i].at, expected[i].at);
        EXPECT_EQ(steps[i].speed, expected[i].speed);
        EXPECT_EQ(steps[i].rts, expected[i].rts);
        EXPECT_EQ(steps[i].bytes, expected[i].bytes);
    }
    // The download itself runs at the target speed, DTR and RTS on.
    const auto& handshake = h.lines.log.writes[7];
    EXPECT_EQ(handshake.bytes, B("VARNEL\r"));
    EXPECT_EQ(handshake.atMs, 2100);
    EXPECT_EQ(handshake.settings.speed, 115200u);
    EXPECT_TRUE(handshake.settings.dtr);
    EXPECT_TRUE(handshake.settings.rts);
    EXPECT_EQ(h.peer.report().cradleSpeed, 115200u);
    EXPECT_EQ(h.peer.report().cradleEchoes, 1);
    EXPECT_TRUE(h.peer.report().imageComplete);
}

TEST(Cradle, SlowestTargetFoundOnTheFirstProbe) {
    Harness h(Cradle(9600));
    h.tmpl.portSettings.baudRate = 4;
    h.Download(Transport::Cradle);
    std::vector<Step> steps = CradleWrites(h);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0].bytes, B({0x0F}));
    EXPECT_EQ(steps[1].bytes, B({0x07}));
    EXPECT_EQ(steps[2].bytes, B({'2'}));
    EXPECT_EQ(steps[3].bytes, B({'Q'}));
    for (const Step& s : steps) EXPECT_EQ(s.speed, 9600u);
    EXPECT_EQ(h.lines.log.writes[4].settings.speed, 9600u);
    EXPECT_TRUE(h.outcome.Succeeded());
}

TEST(Cradle, SpeedCommandsForEveryTarget) {
    const char commands[] = {'6', '5', '4', '3', '2'};
    const std::uint32_t speeds[] = {115200, 57600, 38400, 19200, 9600};
    for (int rate = 0; rate < 5; ++rate) {
        Harness h(Cradle(38400));
        h.tmpl.portSettings.baudRate = static_cast<u8>(rate);
        h.Download(Transport::Cradle);
        std::vector<Step> steps = CradleWrites(h);
        ASSERT_EQ(steps.size(), 6u);  // found on the third probe
        EXPECT_EQ(steps[4].bytes, B({commands[rate]}));
        EXPECT_EQ(h.link.lineSettings().speed, speeds[rate]);
        EXPECT_TRUE(h.outcome.Succeeded()) << rate;
    }
}

TEST(Cradle, WrongEchoFailsAtOnceAndNoAnswerGivesUpAfterFiveProbes) {
    Harness h(Cradle(9600, {"cradle-echo=0x41"}));
    // The cradle echoes "A" at 9600 only; the other four probes wait out their window.
    EXPECT_FALSE(h.Download(Transport::Cradle).Ran());
    std::vector<std::int64_t> probes;
    for (const Step& s : CradleWrites(h)) probes.push_back(s.at);
    EXPECT_EQ(probes, (std::vector<std::int64_t>{200, 500, 900, 1300, 1700}));
    ASSERT_EQ(h.ui.shown.size(), 1u);
    EXPECT_EQ(h.ui.shown[0].text, "設置紅外線裝置失敗!!");
    EXPECT_EQ(h.ui.shown[0].at, 2000);
    EXPECT_EQ(h.lines.log.closes, 1);
    EXPECT_EQ(h.outcome.failure, LinkFailure::IrPreparation);
}

TEST(Cradle, NoCradleFailsBothDirections) {
    {
        Harness h;
        EXPECT_EQ(h.Download(Transport::Cradle).failure, LinkFailure::IrPreparation);
        EXPECT_EQ(h.ui.Texts(), std::vector<std::string>{"設置紅外線裝置失敗!!"});
        EXPECT_EQ(h.ui.shown[0].at, 2100);
        EXPECT_EQ(h.Count(B({0x0F})), 5);
    }
    {
        Harness h;
        h.ui.dataChoice = "/tmp/k52-cradle-receive.txt";
        EXPECT_EQ(h.Receive(Transport::Cradle).failure, LinkFailure::IrPreparation);
        EXPECT_EQ(h.ui.Texts(), std::vector<std::string>{"無法設定紅外線裝置!!"});
        EXPECT_EQ(h.ui.shown[0].icon, MessageIcon::Exclamation);
        std::remove("/tmp/k52-cradle-receive.txt");
    }
}

TEST(Cradle, ReceiveThroughTheCradle) {
    PeerOptions o = Cradle(19200);
    o.records = {B("scan 1"), B("scan 2")};
    Harness h(o);
    h.tmpl.portSettings.baudRate = 1;
    h.ui.dataChoice = "/tmp/k52-cradle-receive2.txt";
    EXPECT_EQ(h.Receive(Transport::Cradle).recordsStored, 2);
    EXPECT_EQ(h.peer.report().cradleSpeed, 57600u);
    EXPECT_EQ(h.TimesOf(B("READ\r")).size(), 1u);
    std::remove("/tmp/k52-cradle-receive2.txt");
}

TEST(Cradle, ControlLinesLeftOnByTheCradleStayForLaterDirectCommands) {
    Harness h(Cradle(115200));
    h.Download();
    EXPECT_FALSE(h.lines.log.applied.back().settings.dtr);
    EXPECT_FALSE(h.lines.log.applied.back().settings.rts);
    h.Download(Transport::Cradle);
    const std::size_t before = h.lines.log.applied.size();
    h.Download();
    ASSERT_GT(h.lines.log.applied.size(), before);
    EXPECT_TRUE(h.lines.log.applied.back().settings.dtr);
    EXPECT_TRUE(h.lines.log.applied.back().settings.rts);
    EXPECT_TRUE(h.outcome.Succeeded());
}

TEST(Cradle, PausesSleepInSlicesSoAStopIsSeenAtOnce) {
    // Every time the transfer looks at the clock: no cradle answers, so 2.1 s of pauses and probe
    // windows, each looked at again at least every 50 ms (where a stop is seen).
    struct SleepLog : VirtualClock {
        std::int64_t NowMs() override {
            const std::int64_t now = VirtualClock::NowMs();
            if (ends.empty() || ends.back() != now) ends.push_back(now);
            return now;
        }
        std::vector<std::int64_t> ends;
    } clock;
    TerminalPeer terminal{PeerOptions{}};
    MemoryLineFactory lines(clock, &terminal);
    ApplicationTemplate tmpl = StartupTemplate();
    TerminalLink link(tmpl, lines, clock);
    NullTransferUi ui;
    DownloadRequest request;
    request.transport = Transport::Cradle;
    link.Download(request, ui);
    ASSERT_FALSE(clock.ends.empty());
    EXPECT_EQ(clock.ends.front(), 0);
    std::int64_t previous = 0;
    for (std::int64_t t : clock.ends) {
        EXPECT_LE(t - previous, 50);
        previous = t;
    }
    EXPECT_EQ(clock.ends.back(), 2100);
}

}  // namespace
}  // namespace k52::test
