// Program and lookup downloads: packets sent until acknowledged, one reply token per send.
#include "link/Download.h"

#include <algorithm>
#include <cstring>

#include "link/LinkTexts.h"
#include "link/Protocol.h"

namespace k52 {

namespace {
using namespace link_text;
constexpr int kHandshakeTries = 3;
constexpr int kPacketSends = 4;
constexpr std::size_t kReplyStop = 10;

bool Is(const std::vector<u8>& reply, std::string_view text) {
    return reply.size() == text.size() && std::equal(reply.begin(), reply.end(), text.begin());
}
}  // namespace

bool Downloader::Attempt(const std::function<bool()>& send) {
    if (!Handshake()) return false;
    ui_.BeginProgress(kProgressTitle, kProgressText);
    const bool ok = send();
    ui_.EndProgress();
    if (ok) ui_.ShowMessage(kDownloadDone, kDownloadDoneTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return ok;
}

bool Downloader::SendProgram(DownloadImageBuilder& builder, ApplicationTemplate& tmpl) {
    return Attempt([&] { return SendImagePackets(builder, tmpl); });
}

bool Downloader::SendLookup(LookupFile& file) {
    maybeDuplicated_.clear();
    return Attempt([&] { return SendLookupRecords(file); });
}

bool Downloader::Handshake() {
    for (int i = 0; i < kHandshakeTries; ++i) {
        const auto* text = reinterpret_cast<const u8*>(kHandshakeText.data());
        if (SendAndAwaitReply(text, kHandshakeText.size()) == Reply::Ack) return true;
    }
    ui_.ShowMessage(kTerminalNotReady, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

Downloader::Reply Downloader::SendAndAwaitReply(const u8* data, std::size_t size) {
    // Whatever is still waiting answered an earlier send: it must not count for this one.
    port_.DiscardInput();
    port_.Write(data, size);
    reply_.clear();
    const std::int64_t deadline = port_.NowMs() + kReplyTimeoutMs;
    for (;;) {
        // A byte at a time, so that a CR ends this reply and the next one stays where it is.
        u8 b = 0;
        const std::size_t n = port_.Read(&b, 1);
        if (n == 1) reply_.push_back(b);
        if (n == 1 && b == kCr) break;
        if (reply_.size() >= kReplyStop) break;
        if (port_.NowMs() >= deadline) break;
        if (n == 0) port_.WaitForInputUntil(deadline);
    }
    const bool ended = !reply_.empty() && reply_.back() == kCr;
    if (ended) reply_.pop_back();
    if (Is(reply_, "ACK")) return Reply::Ack;
    return ended && Is(reply_, "NAK") ? Reply::Nak : Reply::Unclear;
}

bool Downloader::SendPacket(const u8* data, std::size_t size, bool* resentUnclear) {
    size = std::min(size, kPacketBufferSize);
    bool unclear = false;
    for (int i = 0; i < kPacketSends; ++i) {
        if (unclear && resentUnclear) *resentUnclear = true;
        const Reply reply = SendAndAwaitReply(data, size);
        if (reply == Reply::Ack) return true;
        unclear = unclear || reply == Reply::Unclear;
    }
    ui_.ShowMessage(kDownloadFailed, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

bool Downloader::SendImagePackets(DownloadImageBuilder& builder, ApplicationTemplate& tmpl) {
    builder.BuildDownloadImage(tmpl);
    const DownloadImage& image = builder.image();
    for (int n = 0; n < kImagePacketCount; ++n) {
        const ImagePacket packet =
            BuildImagePacket(image.data() + kImagePacketData * static_cast<std::size_t>(n), n);
        if (!SendPacket(packet.data(), packet.size())) return false;
        ui_.SetProgress(std::min(n + 5, 100));
    }
    ui_.SetProgress(100);
    return true;
}

bool Downloader::SendLookupRecords(LookupFile& file) {
    bool sendFailed = false;
    long tooLong = 0;
    const bool read = file.ForEachRecord(
        [&](const std::vector<u8>& data, long line) {
            const std::vector<u8> packet = BuildLookupPacket(data.data(), data.size());
            bool resentUnclear = false;
            const bool ok = SendPacket(packet.data(), packet.size(), &resentUnclear);
            if (ok && resentUnclear) maybeDuplicated_.push_back(line);
            sendFailed = !ok;
            return ok;
        },
        [&](int percent) { ui_.SetProgress(percent); }, &tooLong);
    if (!read) {
        if (tooLong > 0)
            ui_.ShowMessage(LookupRecordTooLong(tooLong), kErrorTitle, MessageIcon::Exclamation,
                            MessageButtons::Ok);
        else if (!sendFailed)
            ui_.ShowMessage(kCannotOpenFile, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    ui_.SetProgress(100);
    return SendPacket(reinterpret_cast<const u8*>(kOverText.data()), kOverText.size());
}

}  // namespace k52
