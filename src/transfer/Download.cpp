// Program and lookup downloads: packets sent until acknowledged, one reply token per send.
#include "transfer/Download.h"

#include <algorithm>
#include <cstring>

#include "protocol/Protocol.h"

namespace k52 {

namespace {
constexpr int kHandshakeTries = 3;
constexpr int kPacketSends = 4;
constexpr std::size_t kReplyStop = 10;

bool Is(const std::vector<u8>& reply, std::string_view text) {
    return reply.size() == text.size() && std::equal(reply.begin(), reply.end(), text.begin());
}
}  // namespace

bool Downloader::Attempt(const std::function<bool()>& send, int lookupNumber) {
    if (!Handshake()) return false;
    const bool ok = send();
    port_.Report(TransferPhase::Closing);
    if (ok) {
        Notice done{NoticeKind::DownloadDone};
        done.count = lookupNumber;
        port_.Tell(done);
    }
    return ok;
}

bool Downloader::SendProgram(DownloadImageBuilder& builder, ApplicationTemplate& tmpl) {
    return Attempt([&] { return SendImagePackets(builder, tmpl); });
}

bool Downloader::SendLookup(LookupFile& file, int lookupNumber) {
    maybeDuplicated_.clear();
    return Attempt([&] { return SendLookupRecords(file); }, lookupNumber);
}

bool Downloader::Handshake() {
    port_.Report(TransferPhase::Handshake);
    const auto* text = reinterpret_cast<const u8*>(kHandshakeText.data());
    if (SendUntilAcknowledged(text, kHandshakeText.size(), kHandshakeTries, nullptr)) return true;
    if (!port_.HungUp() && !port_.StopRequested()) port_.Tell({NoticeKind::TerminalNotReady});
    return false;
}

Downloader::Reply Downloader::ReadReply(std::int64_t deadlineMs) {
    reply_.clear();
    for (;;) {
        // A byte at a time, so that a CR ends this reply and the next one stays where it is.
        u8 b = 0;
        const std::size_t n = port_.Read(&b, 1);
        if (n == 1) reply_.push_back(b);
        if (n == 1 && b == kCr) break;
        if (reply_.size() >= kReplyStop) break;
        if (port_.NowMs() >= deadlineMs || (n == 0 && (port_.HungUp() || port_.StopRequested()))) break;
        if (n == 0) port_.WaitForInputUntil(deadlineMs);
    }
    const bool ended = !reply_.empty() && reply_.back() == kCr;
    if (ended) reply_.pop_back();
    // "ACK" without its CR still counts once the wait is over.
    if (Is(reply_, "ACK")) return Reply::Ack;
    if (ended && Is(reply_, "NAK")) return Reply::Nak;
    return ended || reply_.size() >= kReplyStop ? Reply::Other : Reply::None;
}

bool Downloader::SendUntilAcknowledged(const u8* data, std::size_t size, int tries, bool* resentUnclear) {
    int sends = 0, replies = 0, refusals = 0;
    bool acknowledged = false;
    while (!acknowledged && sends < tries && !port_.HungUp() && !port_.StopRequested()) {
        // Whatever is still waiting answered an earlier send: count it, then drop what is left.
        for (Reply r = ReadReply(port_.NowMs()); r != Reply::None && !acknowledged;
             r = ReadReply(port_.NowMs())) {
            ++replies;
            refusals += r == Reply::Nak ? 1 : 0;
            acknowledged = r == Reply::Ack;
        }
        port_.DiscardInput();
        if (acknowledged) break;
        // Unless every earlier send was refused, the terminal may hold this packet already.
        if (sends > refusals && resentUnclear) *resentUnclear = true;
        port_.Write(data, size);
        ++sends;
        const Reply r = ReadReply(port_.NowMs() + kReplyTimeoutMs);
        replies += r == Reply::None ? 0 : 1;
        refusals += r == Reply::Nak ? 1 : 0;
        acknowledged = r == Reply::Ack;
    }
    if (!acknowledged) {
        unanswered_ = replies == 0;
        return false;
    }
    for (int owed = sends - replies; owed > 0; --owed)
        if (ReadReply(port_.NowMs() + kReplyTimeoutMs) == Reply::None) break;
    return true;
}

bool Downloader::SendPacket(const u8* data, std::size_t size, bool* resentUnclear) {
    if (SendUntilAcknowledged(data, std::min(size, kPacketBufferSize), kPacketSends, resentUnclear))
        return true;
    if (!port_.HungUp() && !port_.StopRequested()) port_.Tell({NoticeKind::PacketRefused});
    return false;
}

bool Downloader::SendImagePackets(DownloadImageBuilder& builder, ApplicationTemplate& tmpl) {
    builder.BuildDownloadImage(tmpl);
    const DownloadImage& image = builder.image();
    port_.Report(TransferPhase::SendingPacket, 0, kImagePacketCount, 0);
    for (int n = 0; n < kImagePacketCount; ++n) {
        const ImagePacket packet =
            BuildImagePacket(image.data() + kImagePacketData * static_cast<std::size_t>(n), n);
        if (port_.StopRequested() || !SendPacket(packet.data(), packet.size())) return false;
        // The bar runs five steps ahead of the packets, as it always has, and fills at the last one.
        const int percent = n + 1 == kImagePacketCount ? 100 : std::min(n + 5, 100);
        port_.Report(TransferPhase::SendingPacket, n + 1, kImagePacketCount, percent);
    }
    return true;
}

bool Downloader::SendLookupRecords(LookupFile& file) {
    const int total = file.recordCount();
    int percent = 0;
    port_.Report(TransferPhase::SendingRecord, 0, total, percent);
    const bool sent = file.ForEachRecord(
        [&](const std::vector<u8>& data, long line) {
            const std::vector<u8> packet = BuildLookupPacket(data.data(), data.size());
            if (port_.StopRequested()) return false;
            bool resentUnclear = false;
            const bool ok = SendPacket(packet.data(), packet.size(), &resentUnclear);
            if (ok && resentUnclear) maybeDuplicated_.push_back(line);
            if (ok) port_.Report(TransferPhase::SendingRecord, static_cast<int>(line), total, percent);
            return ok;
        },
        [&](int read) { percent = read; });
    if (!sent) return false;
    port_.Report(TransferPhase::SendingRecord, total, total, 100);
    return SendPacket(reinterpret_cast<const u8*>(kOverText.data()), kOverText.size());
}

}  // namespace k52
