// When the desk's transfer windows come and go, from literal progress and notices: the progress window
// for the sending phases, the receive counter for the record phase, a box per notice in between.
#include <gtest/gtest.h>

#include "app/ProgressThrottle.h"
#include "support/TransferUis.h"
#include "support/VirtualClock.h"

namespace k52::test {
namespace {

TransferProgress P(TransferPhase phase, int done = 0, int total = 0, int percent = -1) {
    TransferProgress p;
    p.phase = phase, p.done = done, p.total = total, p.percent = percent;
    return p;
}

TEST(TransferPresenter, TheProgressWindowCoversTheSendingAndABoxInItStaysInOrder) {
    VirtualClock clock;
    RecordingUi ui(clock);
    ui.OnProgress(P(TransferPhase::Handshake));
    ui.OnProgress(P(TransferPhase::SendingPacket, 0, 105, 0));
    ui.OnProgress(P(TransferPhase::SendingPacket, 1, 105, 5));
    ui.OnProgress(P(TransferPhase::SendingPacket, 2, 105, 6));
    ui.OnProgress(P(TransferPhase::SendingPacket, 3, 105, 6));  // the same bar: no change
    ui.OnNotice(NoticeKind::PacketRefused);
    ui.OnProgress(P(TransferPhase::Closing));
    ui.OnProgress(P(TransferPhase::Handshake));  // a second attempt starts the bar again
    ui.OnProgress(P(TransferPhase::SendingPacket, 0, 105, 0));
    ui.OnProgress(P(TransferPhase::SendingPacket, 1, 105, 5));
    ui.OnProgress(P(TransferPhase::Failed));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"progress begin 下載程式 下載中...", "message 下載失敗!!",
                                                   "progress end", "progress begin 下載程式 下載中...",
                                                   "progress end"}));
    EXPECT_EQ(ui.progress, (std::vector<int>{5, 6, 5}));
    EXPECT_TRUE(ui.status.empty());
}

TEST(TransferPresenter, TheCounterShowsFromTheFirstRecordAndGoesBeforeTheLastWord) {
    VirtualClock clock;
    RecordingUi ui(clock);
    ui.OnProgress(P(TransferPhase::Handshake));
    ui.OnProgress(P(TransferPhase::Receiving));
    ui.OnProgress(P(TransferPhase::Receiving, 1));
    ui.OnProgress(P(TransferPhase::Receiving, 2));
    ui.OnProgress(P(TransferPhase::Closing));
    ui.OnNotice(NoticeKind::ReceiveTimedOut);
    ui.OnProgress(P(TransferPhase::Failed));
    EXPECT_EQ(ui.status, (std::vector<std::string>{"begin", "update 1", "update 2", "end"}));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"message 逾時!!"}));
}

// A live view draws at most every interval, but always the first report and every change of phase.
TEST(ProgressThrottle, LetsThroughTheFirstEachPhaseChangeAndOncePerInterval) {
    ProgressThrottle throttle(100);
    struct Step {
        std::int64_t at;
        TransferPhase phase;
        bool due;
    };
    const Step steps[] = {
        {0, TransferPhase::Handshake, true},        {10, TransferPhase::Handshake, false},
        {20, TransferPhase::SendingPacket, true},   {60, TransferPhase::SendingPacket, false},
        {119, TransferPhase::SendingPacket, false}, {120, TransferPhase::SendingPacket, true},
        {121, TransferPhase::Closing, true},        {150, TransferPhase::Done, true},
    };
    for (const Step& s : steps) EXPECT_EQ(throttle.Due(P(s.phase), s.at), s.due) << s.at;
    throttle.Mark(300);
    EXPECT_FALSE(throttle.Due(350));
    EXPECT_TRUE(throttle.Due(400));
}

}  // namespace
}  // namespace k52::test
