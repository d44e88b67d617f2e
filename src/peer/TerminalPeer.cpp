// The terminal peer's side of the handshakes, downloads and the upload, with its faults.
#include "peer/TerminalPeer.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

#include "protocol/DownloadImage.h"
#include "protocol/Protocol.h"

namespace k52 {

namespace {

constexpr std::int64_t kStalePartialMs = 1000;
constexpr std::size_t kMaxBuffered = 300;

bool EndsWith(const std::vector<u8>& buffer, std::string_view text) {
    return buffer.size() >= text.size() &&
           std::memcmp(buffer.data() + buffer.size() - text.size(), text.data(), text.size()) == 0;
}

bool Equals(const std::vector<u8>& buffer, std::string_view text) {
    return buffer.size() == text.size() && EndsWith(buffer, text);
}

std::vector<u8> Nak(const PeerFault* f) {
    if (f && !f->text.empty()) return f->text;
    return std::vector<u8>(kNakText.begin(), kNakText.end());
}

}  // namespace

TerminalPeer::TerminalPeer(PeerOptions options)
    : options_(std::move(options)), cradle_(options_.cradleSpeed, report_) {}

std::vector<PeerEmission> TerminalPeer::TakeOutput() {
    std::vector<PeerEmission> out;
    out.swap(output_);
    return out;
}

bool TerminalPeer::ExchangeEnded() const {
    return report_.imageComplete || report_.lookupComplete || report_.uploadComplete;
}

PeerFault* TerminalPeer::FindFault(PeerFaultKind kind, int index, bool consume) {
    for (PeerFault& f : options_.faults) {
        if (f.kind != kind || (FaultIsIndexed(kind) && f.index != index)) continue;
        if (!consume) return &f;
        if (f.count <= 0) continue;
        --f.count;
        return &f;
    }
    return nullptr;
}

bool TerminalPeer::Silent() const {
    for (const PeerFault& f : options_.faults)
        if (f.kind == PeerFaultKind::SilentAfter && accepted_ >= f.count) return true;
    return false;
}

void TerminalPeer::Answer(std::string_view text, std::int64_t extraDelayMs) {
    Answer(std::vector<u8>(text.begin(), text.end()), extraDelayMs);
}

void TerminalPeer::Answer(std::vector<u8> bytes, std::int64_t extraDelayMs) {
    std::int64_t due = now_ + extraDelayMs;
    if (const PeerFault* p = FindFault(PeerFaultKind::Pause, 0, false)) due += p->ms;
    // The terminal sends in order: nothing overtakes an answer that is still on its way.
    due = std::max(due, lastDue_);
    if (const PeerFault* s = FindFault(PeerFaultKind::Split, 0, false)) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            output_.push_back({due + static_cast<std::int64_t>(i) * s->ms, {bytes[i]}});
    } else {
        output_.push_back({due, std::move(bytes)});
    }
    lastDue_ = output_.back().dueMs;
}

void TerminalPeer::Receive(const u8* data, std::size_t size, const PeerLineState& line, std::int64_t nowMs) {
    now_ = nowMs;
    if (!buffer_.empty() && nowMs - lastByteAt_ > kStalePartialMs) buffer_.clear();
    lastByteAt_ = nowMs;
    std::vector<u8> relayed;
    std::optional<u8> echoInstead;
    if (const PeerFault* f = FindFault(PeerFaultKind::CradleEcho, 0, false); f && !f->text.empty())
        echoInstead = f->text[0];
    for (std::size_t i = 0; i < size; ++i) {
        const u8 b = data[i];
        if (!cradle_.present()) {
            relayed.push_back(b);
        } else if (cradle_.Addressed(b, line, mode_ == Mode::Idle && buffer_.empty() && relayed.empty())) {
            if (auto echo = cradle_.Take(b, line, echoInstead)) {
                output_.push_back({std::max(now_, lastDue_), {*echo}});
                lastDue_ = output_.back().dueMs;
            }
        } else if (cradle_.Relays(line.speed)) {
            relayed.push_back(b);
        }
    }
    if (!relayed.empty()) ReceiveTerminal(relayed.data(), relayed.size());
}

void TerminalPeer::ReceiveTerminal(const u8* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (Silent()) return;
        const u8 b = data[i];
        switch (mode_) {
            case Mode::Idle:
                IdleByte(b);
                break;
            case Mode::DownloadFirst:
            case Mode::Image:
            case Mode::Lookup:
                DownloadByte(b, i + 1 == size);
                break;
            case Mode::Upload:
                UploadByte(b);
                break;
        }
    }
}

void TerminalPeer::IdleByte(u8 b) {
    buffer_.push_back(b);
    if (buffer_.size() > 16) buffer_.erase(buffer_.begin());
    if (b != kCr) return;
    if (EndsWith(buffer_, kHandshakeText)) {
        StartHandshake(true);
    } else if (EndsWith(buffer_, kRequestText)) {
        StartHandshake(false);
    }
    buffer_.clear();
}

void TerminalPeer::StartHandshake(bool download) {
    buffer_.clear();
    if (download)
        ++report_.handshakes;
    else
        ++report_.requests;
    if (FindFault(PeerFaultKind::IgnoreHandshake, 0, true)) {
        mode_ = Mode::Idle;
        return;
    }
    if (download) {
        // A new attempt starts over from packet 0.
        mode_ = Mode::DownloadFirst;
        packetIndex_ = 0;
        pendingImage_.assign(kDownloadImageSize, 0);
        report_.imagePacketsAccepted = 0;
        report_.imageComplete = false;
        report_.lookupRecords.clear();
        report_.lookupComplete = false;
    }
    if (PeerFault* f = FindFault(PeerFaultKind::RefuseHandshake, 0, true)) {
        if (!download) mode_ = Mode::Idle;
        Answer(Nak(f));
        return;
    }
    Answer(kAckText);
    if (!download) {
        mode_ = Mode::Upload;
        recordIndex_ = 0;
        repeatPending_ = false;
        replyDelay_ = 0;
        report_.uploadComplete = false;
        SendFrame();
    }
}

void TerminalPeer::DownloadByte(u8 b, bool chunkEnd) {
    buffer_.push_back(b);
    // The host sends nothing unasked, so a handshake arrives on its own.
    if (chunkEnd && Equals(buffer_, kHandshakeText)) {
        StartHandshake(true);
        return;
    }
    if (mode_ == Mode::DownloadFirst) {
        // An image packet is 103 bytes whatever they hold, packet 0 ending in 0; a lookup record is
        // ended by its CR and is followed by nothing until it is answered.
        if (b == kCr && options_.expect != PeerExpect::Program &&
            (options_.expect == PeerExpect::Lookup ||
             (chunkEnd &&
              (Equals(buffer_, kOverText) || CheckLookupPacket(buffer_.data(), buffer_.size()))))) {
            mode_ = Mode::Lookup;
            HandleLookupPacket();
        } else if (buffer_.size() == kImagePacketSize && options_.expect != PeerExpect::Lookup &&
                   (options_.expect == PeerExpect::Program ||
                    (buffer_[102] == 0 && CheckImagePacket(buffer_.data(), buffer_.size())))) {
            mode_ = Mode::Image;
            HandleImagePacket();
        } else if (buffer_.size() > kPacketBufferSize) {
            report_.errors.push_back("unrecognised first packet of " + std::to_string(buffer_.size()) +
                                     " bytes");
            buffer_.clear();
        }
        return;
    }
    if (mode_ == Mode::Image && buffer_.size() == kImagePacketSize) {
        HandleImagePacket();
    } else if (mode_ == Mode::Lookup && b == kCr) {
        HandleLookupPacket();
    } else if (buffer_.size() > kMaxBuffered) {
        report_.errors.push_back("packet " + std::to_string(packetIndex_) + " longer than " +
                                 std::to_string(kMaxBuffered) + " bytes");
        buffer_.clear();
    }
}

bool TerminalPeer::PacketFaultsLetThrough(std::vector<u8>& packet, bool& answerLost, std::int64_t& delay) {
    const int send = packetSends_++;
    if (FindFault(PeerFaultKind::LosePacket, send, true)) return false;
    if (FindFault(PeerFaultKind::GarblePacket, send, true)) packet[0] = static_cast<u8>(packet[0] ^ 0x20);
    answerLost = FindFault(PeerFaultKind::LoseAnswer, send, true) != nullptr;
    if (PeerFault* p = FindFault(PeerFaultKind::LateAnswer, send, true)) delay += p->ms;
    if (FindFault(PeerFaultKind::IgnorePacket, packetIndex_, true)) return false;
    if (PeerFault* f = FindFault(PeerFaultKind::RefusePacket, packetIndex_, true)) {
        if (!answerLost) Answer(Nak(f), delay);
        return false;
    }
    if (PeerFault* p = FindFault(PeerFaultKind::PausePacket, packetIndex_, true)) delay += p->ms;
    return true;
}

void TerminalPeer::HandleImagePacket() {
    std::vector<u8> packet;
    packet.swap(buffer_);
    std::int64_t delay = 0;
    bool answerLost = false;
    if (!PacketFaultsLetThrough(packet, answerLost, delay)) return;
    auto answer = [&](std::string_view text) {
        if (!answerLost) Answer(text, delay);
    };
    const int number = packet[102];
    if (!CheckImagePacket(packet.data(), packet.size())) {
        report_.errors.push_back("image packet " + std::to_string(number) + ": checksum mismatch");
        answer(kNakText);
        return;
    }
    if (number != packetIndex_) {
        // The packet just accepted, sent again because our answer got lost: accept it again.
        if (number + 1 == packetIndex_ &&
            std::equal(packet.begin(), packet.begin() + 100, pendingImage_.begin() + 100 * number)) {
            answer(kAckText);
            return;
        }
        report_.errors.push_back("image packet " + std::to_string(number) + " where " +
                                 std::to_string(packetIndex_) + " was expected");
        answer(kNakText);
        return;
    }
    std::copy(packet.begin(), packet.begin() + 100, pendingImage_.begin() + 100 * number);
    ++packetIndex_;
    report_.imagePacketsAccepted = packetIndex_;
    ++accepted_;
    answer(kAckText);
    if (packetIndex_ == kImagePacketCount) {
        // Stays ready to acknowledge packet 104 again should our answer be lost.
        report_.imageComplete = true;
        report_.image = pendingImage_;
    }
}

void TerminalPeer::HandleLookupPacket() {
    std::vector<u8> packet;
    packet.swap(buffer_);
    std::int64_t delay = 0;
    bool answerLost = false;
    if (!PacketFaultsLetThrough(packet, answerLost, delay)) return;
    auto answer = [&](std::string_view text) {
        if (!answerLost) Answer(text, delay);
    };
    if (Equals(packet, kOverText)) {
        // The end marker again (our answer was lost) changes nothing.
        if (!report_.lookupComplete) {
            ++packetIndex_;
            ++accepted_;
        }
        report_.lookupComplete = true;
        answer(kAckText);
        return;
    }
    if (!CheckLookupPacket(packet.data(), packet.size())) {
        report_.errors.push_back("lookup packet " + std::to_string(packetIndex_) + " of " +
                                 std::to_string(packet.size()) + " bytes: checksum or length wrong");
        answer(kNakText);
        return;
    }
    if (report_.lookupComplete) {
        report_.errors.push_back("lookup record after the end marker");
        answer(kNakText);
        return;
    }
    // Records carry no number: one sent again is stored again, as a real terminal would.
    report_.lookupRecords.emplace_back(packet.begin(), packet.end() - 3);
    ++packetIndex_;
    ++accepted_;
    answer(kAckText);
}

void TerminalPeer::UploadByte(u8 b) {
    buffer_.push_back(b);
    if (buffer_.size() > 16) buffer_.erase(buffer_.begin());
    if (b != kCr) return;
    std::vector<u8> message;
    message.swap(buffer_);
    if (EndsWith(message, kRequestText)) {
        StartHandshake(false);
        return;
    }
    if (EndsWith(message, kHandshakeText)) {
        StartHandshake(true);
        return;
    }
    UploadReply(message);
}

void TerminalPeer::UploadReply(const std::vector<u8>& reply) {
    const int number = replies_++;
    if (FindFault(PeerFaultKind::LoseReply, number, true)) return;
    // An unreadable reply is no reply: the terminal goes on waiting.
    if (FindFault(PeerFaultKind::GarbleReply, number, true)) return;
    if (PeerFault* f = FindFault(PeerFaultKind::LateReply, number, true)) replyDelay_ = f->ms;
    const int total = static_cast<int>(options_.records.size());
    if (Equals(reply, kAckText)) {
        ++report_.acksReceived;
        if (recordIndex_ >= total) return;
        if (repeatPending_) {
            repeatPending_ = false;
        } else {
            ++report_.recordsAcknowledged;
            ++accepted_;
            if (Silent()) return;
            if (FindFault(PeerFaultKind::RepeatRecord, recordIndex_, true)) {
                repeatPending_ = true;
                SendFrame();
                return;
            }
        }
        ++recordIndex_;
        SendFrame();
    } else if (Equals(reply, kNakText)) {
        ++report_.naksReceived;
        if (recordIndex_ < total) SendFrame();
    } else {
        report_.errors.push_back("unexpected answer of " + std::to_string(reply.size()) +
                                 " bytes to record " + std::to_string(recordIndex_));
    }
}

void TerminalPeer::SendFrame() {
    std::int64_t delay = std::exchange(replyDelay_, 0);
    const int total = static_cast<int>(options_.records.size());
    if (recordIndex_ >= total) {
        report_.uploadComplete = true;
        mode_ = Mode::Idle;
        Answer(kOverText, delay);
        return;
    }
    const std::vector<u8>& data = options_.records[static_cast<std::size_t>(recordIndex_)];
    int sequence = recordIndex_ % kSequenceModulus;
    if (FindFault(PeerFaultKind::WrongSequence, recordIndex_, true))
        sequence = (sequence + 2) % kSequenceModulus;
    std::vector<u8> frame = MakeRecordFrame(sequence, data.data(), data.size());
    const int number = report_.framesSent++;
    if (FindFault(PeerFaultKind::BadChecksum, recordIndex_, true) ||
        FindFault(PeerFaultKind::GarbleFrame, number, true)) {
        u8& low = frame[frame.size() - 3];
        low = static_cast<u8>(low + 1);
        if (low == kCr) low = static_cast<u8>(kCr + 1);
    }
    if (PeerFault* p = FindFault(PeerFaultKind::PauseRecord, recordIndex_, true)) delay += p->ms;
    if (PeerFault* p = FindFault(PeerFaultKind::LateFrame, number, true)) delay += p->ms;
    if (FindFault(PeerFaultKind::LoseFrame, number, true)) return;
    Answer(std::move(frame), delay);
}

}  // namespace k52
