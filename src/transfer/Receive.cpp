// The request and the record windows of a receive.
//
// Replies carry no numbers and the terminal takes them strictly in order, one frame for each reply it
// gets. A "NAK\r" sent for an empty window may cross a frame that was merely late; the terminal then
// sends that record once more for the NAK, after the frame we already answered. Such a frame must get
// no reply of its own, or every later reply would be taken for the record after the one it answers.
// So each empty-window NAK sent since our last "ACK\r" earns one allowance at that ACK: the next frames
// that repeat the record just acknowledged, or cannot be read, are taken silently. A record sent for
// the next number shows the terminal has moved on, so it starts the count afresh. A reply withheld
// wrongly costs one more window, never a record.
#include "transfer/Receive.h"

#include <cstring>

namespace k52 {

namespace {
constexpr std::int64_t kRequestTimeoutMs = 3000;
constexpr std::size_t kRequestReplyKeep = 10;
constexpr int kSilentRequestsBeforeGivingUp = 3;
constexpr int kWrongRequestsBeforeGivingUp = 5;
constexpr int kEmptyWindowsBeforeGivingUp = 10;
constexpr int kFruitlessFramesBeforeGivingUp = 10;
// A frame that keeps arriving without its CR is given up after this long.
constexpr std::int64_t kFrameLimitMs = 3000;
}  // namespace

void Receiver::Reply(std::string_view text) {
    port_.Write(text);
}

bool Receiver::Request() {
    port_.Report(TransferPhase::Handshake);
    for (int c = 0;; ++c) {
        if (port_.StopRequested()) return false;
        Reply(kRequestText);
        u8 kept[kRequestReplyKeep];
        std::size_t keptLength = 0;
        bool gotCr = false;
        const std::int64_t deadline = port_.NowMs() + kRequestTimeoutMs;
        for (;;) {
            u8 b = 0;
            const std::size_t n = port_.Read(&b, 1);
            if (n == 1 && keptLength < kRequestReplyKeep) {
                kept[keptLength++] = b;
                if (b == kCr) {
                    gotCr = true;
                    break;
                }
            }
            if (port_.NowMs() >= deadline || (n == 0 && (port_.HungUp() || port_.StopRequested()))) break;
            if (n == 0) port_.WaitForInputUntil(deadline);
        }
        if (port_.HungUp() || port_.StopRequested()) return false;
        if (!gotCr && c >= kSilentRequestsBeforeGivingUp) {
            port_.Tell({NoticeKind::ReceiveTimedOut});
            return false;
        }
        if (keptLength == kAckText.size() && std::memcmp(kept, kAckText.data(), keptLength) == 0) return true;
        if (c >= kWrongRequestsBeforeGivingUp) {
            port_.Tell({NoticeKind::NoConnection});
            return false;
        }
    }
}

Receiver::Wait Receiver::AwaitFrame() {
    kept_ = 0;
    length_ = 0;
    const std::int64_t start = port_.NowMs();
    std::int64_t lastByte = start;
    for (;;) {
        // A frame cut off here was not acknowledged: the terminal still holds its record.
        if (port_.StopRequested()) return Wait::Stopped;
        // The window ends after 500 ms in which no byte came: a frame on its way is not cut off.
        const std::int64_t now = port_.NowMs();
        if (now >= lastByte + kRecordWindowMs || now >= start + kFrameLimitMs)
            return length_ == 0 ? Wait::Nothing : Wait::Stalled;
        u8 b = 0;
        if (port_.Read(&b, 1) == 0) {
            if (port_.HungUp()) return Wait::LineLost;
            port_.WaitForInputUntil(std::min(lastByte + kRecordWindowMs, start + kFrameLimitMs));
            continue;
        }
        lastByte = now;
        // Bytes beyond 255 are not kept, but still counted and looked at.
        if (kept_ < sizeof frame_) frame_[kept_++] = b;
        ++length_;
        if (b == kCr) return Wait::Frame;
    }
}

void Receiver::EndRecords() {
    if (receiving_) port_.Report(TransferPhase::Closing);
    receiving_ = false;
}

void Receiver::Acknowledge() {
    Reply(kAckText);
    allowance_ = extraNaks_;
    extraNaks_ = 0;
}

std::optional<Receiver::End> Receiver::OnEmptyWindow() {
    if (emptyWindows_ >= kEmptyWindowsBeforeGivingUp) {
        EndRecords();
        port_.Tell({NoticeKind::ReceiveTimedOut});
        return End::TimedOut;
    }
    ++emptyWindows_;
    ++extraNaks_;
    Reply(kNakText);
    return std::nullopt;
}

std::optional<Receiver::End> Receiver::OnFrame(RecordFile& file, Result& result) {
    emptyWindows_ = 0;
    switch (CheckRecordFrame(frame_, length_, expected_)) {
        case FrameVerdict::Over:
            EndRecords();
            return End::Over;
        case FrameVerdict::Store:
            // On disk before the terminal hears "ACK" and forgets the record.
            if (!file.Append(frame_ + 1, length_ - 4, &result.fileError)) {
                Reply(kNakText);
                EndRecords();
                return End::FileWrite;
            }
            ++result.stored;
            expected_ = (expected_ + 1) % kSequenceModulus;
            fruitless_ = 0;
            port_.Report(TransferPhase::Receiving, result.stored);
            Acknowledge();
            return std::nullopt;
        case FrameVerdict::AckAgain:
            if (allowance_ > 0)
                --allowance_;
            else
                Acknowledge();
            break;
        case FrameVerdict::Nak:
            if (allowance_ > 0)
                --allowance_;
            else
                Reply(kNakText);
            break;
    }
    if (++fruitless_ >= kFruitlessFramesBeforeGivingUp) {
        EndRecords();
        port_.Tell({NoticeKind::TooManyRefusals});
        return End::TooManyRefusals;
    }
    return std::nullopt;
}

Receiver::Result Receiver::Run(const FileOpener& open) {
    Result result;
    if (!Request()) {
        if (port_.HungUp())
            result.end = End::LineLost;
        else if (port_.StopRequested())
            result.end = End::Stopped;
        return result;
    }
    // The terminal answered: its first frame waits in the line while the file is made.
    RecordFile* opened = open(result);
    if (!opened) {
        result.end = result.fileError != 0 ? End::FileOpen : End::Stopped;
        return result;
    }
    RecordFile& file = *opened;
    receiving_ = true;
    port_.Report(TransferPhase::Receiving);
    expected_ = emptyWindows_ = fruitless_ = extraNaks_ = allowance_ = 0;
    for (;;) {
        const Wait wait = AwaitFrame();
        std::optional<End> end;
        if (wait == Wait::LineLost || wait == Wait::Stopped || port_.StopRequested()) {
            // Stopped at a record boundary: nothing more is acknowledged, nothing more stored.
            EndRecords();
            end = wait == Wait::LineLost ? End::LineLost : End::Stopped;
        } else {
            end = wait == Wait::Frame ? OnFrame(file, result) : OnEmptyWindow();
        }
        if (end) {
            result.end = *end;
            return result;
        }
    }
}

}  // namespace k52
