#include "link/TerminalPeer.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "link/DownloadImage.h"
#include "link/Protocol.h"
#include "link/TerminalLink.h"

namespace k52 {

const char kPeerFaultHelp[] =
    "Faults (--fault SPEC, as often as needed; numbers of packets and records count from 0):\n"
    "  refuse-handshake=N[:TEXT]    answer the first N handshakes (\"VARNEL\" or \"READ\") with TEXT\n"
    "                               (default \"NAK\\r\"); TEXT takes \\r, \\n, \\\\ and \\xHH escapes\n"
    "  ignore-handshake=N           say nothing to the first N handshakes\n"
    "  refuse-packet=P[:K[:TEXT]]   refuse download packet P K times (default 1) with TEXT (default "
    "\"NAK\\r\");\n"
    "                               a lookup file's packets are its records, then the end marker\n"
    "  ignore-packet=P[:K]          say nothing to download packet P, K times (default 1)\n"
    "  silent                       say nothing at all (the cradle still answers)\n"
    "  silent-after=N               fall silent once N packets or records were acknowledged\n"
    "  repeat-record=R              send record R once more after it was acknowledged\n"
    "  bad-checksum=R[:K]           the first K sends (default 1) of record R carry a wrong checksum\n"
    "  wrong-sequence=R[:K]         the first K sends (default 1) of record R carry a wrong sequence number\n"
    "  pause=MS                     every answer goes out MS milliseconds late\n"
    "  pause-packet=P:MS            the answer to download packet P goes out MS milliseconds late, once\n"
    "  pause-record=R:MS            the first send of record R goes out MS milliseconds late\n"
    "  split=MS                     answers go out one byte at a time, MS milliseconds apart\n"
    "  cradle-echo=BYTE             the cradle echoes BYTE (0x.. or decimal) instead of the probe byte\n";

namespace {

constexpr std::int64_t kStalePartialMs = 1000;
constexpr std::size_t kMaxBuffered = 300;
constexpr std::size_t kMaxRecordData = kMaxRecordFrame - 4;

bool EndsWith(const std::vector<u8>& buffer, std::string_view text) {
    return buffer.size() >= text.size() &&
           std::memcmp(buffer.data() + buffer.size() - text.size(), text.data(), text.size()) == 0;
}

bool Equals(const std::vector<u8>& buffer, std::string_view text) {
    return buffer.size() == text.size() && EndsWith(buffer, text);
}

std::optional<long long> Number(std::string_view s) {
    long long v = 0;
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    if (s.empty()) return std::nullopt;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (ec != std::errc() || end != s.data() + s.size() || v < 0) return std::nullopt;
    return v;
}

std::optional<std::vector<u8>> Unescape(std::string_view s) {
    std::vector<u8> out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out.push_back(static_cast<u8>(s[i]));
            continue;
        }
        if (++i >= s.size()) return std::nullopt;
        switch (s[i]) {
            case 'r':
                out.push_back('\r');
                break;
            case 'n':
                out.push_back('\n');
                break;
            case '\\':
                out.push_back('\\');
                break;
            case 'x': {
                if (i + 2 >= s.size()) return std::nullopt;
                auto v = Number("0x" + std::string(s.substr(i + 1, 2)));
                if (!v) return std::nullopt;
                out.push_back(static_cast<u8>(*v));
                i += 2;
                break;
            }
            default:
                return std::nullopt;
        }
    }
    return out;
}

std::string Hex(u8 b) {
    static const char digits[] = "0123456789ABCDEF";
    return std::string("0x") + digits[b >> 4] + digits[b & 15];
}

}  // namespace

std::optional<PeerFault> ParsePeerFault(std::string_view text, std::string* error) {
    auto fail = [&](const std::string& why) -> std::optional<PeerFault> {
        if (error) *error = "bad fault '" + std::string(text) + "': " + why;
        return std::nullopt;
    };
    std::string_view name = text;
    std::string_view rest;
    bool hasArgs = false;
    if (auto eq = text.find('='); eq != std::string_view::npos) {
        name = text.substr(0, eq);
        rest = text.substr(eq + 1);
        hasArgs = true;
    }
    // Up to `n` colon-separated arguments; the last one takes the rest (a text may hold colons).
    auto split = [&](std::size_t n) {
        std::vector<std::string_view> args;
        std::string_view r = rest;
        while (hasArgs && args.size() + 1 < n) {
            auto colon = r.find(':');
            if (colon == std::string_view::npos) break;
            args.push_back(r.substr(0, colon));
            r = r.substr(colon + 1);
        }
        if (hasArgs) args.push_back(r);
        return args;
    };
    struct Shape {
        std::string_view name;
        PeerFaultKind kind;
        int minArgs, maxArgs;
        enum { kCount, kIndexCountText, kIndexCount, kIndexMs, kMs, kNone, kByte } layout;
    };
    static const Shape kShapes[] = {
        {"refuse-handshake", PeerFaultKind::RefuseHandshake, 1, 2, Shape::kCount},
        {"ignore-handshake", PeerFaultKind::IgnoreHandshake, 1, 1, Shape::kCount},
        {"refuse-packet", PeerFaultKind::RefusePacket, 1, 3, Shape::kIndexCountText},
        {"ignore-packet", PeerFaultKind::IgnorePacket, 1, 2, Shape::kIndexCount},
        {"silent", PeerFaultKind::SilentAfter, 0, 0, Shape::kNone},
        {"silent-after", PeerFaultKind::SilentAfter, 1, 1, Shape::kCount},
        {"repeat-record", PeerFaultKind::RepeatRecord, 1, 1, Shape::kIndexCount},
        {"bad-checksum", PeerFaultKind::BadChecksum, 1, 2, Shape::kIndexCount},
        {"wrong-sequence", PeerFaultKind::WrongSequence, 1, 2, Shape::kIndexCount},
        {"wrong-seq", PeerFaultKind::WrongSequence, 1, 2, Shape::kIndexCount},
        {"pause", PeerFaultKind::Pause, 1, 1, Shape::kMs},
        {"pause-packet", PeerFaultKind::PausePacket, 2, 2, Shape::kIndexMs},
        {"pause-record", PeerFaultKind::PauseRecord, 2, 2, Shape::kIndexMs},
        {"split", PeerFaultKind::Split, 1, 1, Shape::kMs},
        {"cradle-echo", PeerFaultKind::CradleEcho, 1, 1, Shape::kByte},
    };
    const Shape* shape = nullptr;
    for (const Shape& s : kShapes)
        if (s.name == name) shape = &s;
    if (!shape) return fail("unknown fault (see --help)");
    std::vector<std::string_view> args = split(static_cast<std::size_t>(shape->maxArgs));
    if (static_cast<int>(args.size()) < shape->minArgs || static_cast<int>(args.size()) > shape->maxArgs ||
        (!hasArgs && shape->minArgs > 0) || (hasArgs && shape->maxArgs == 0))
        return fail("wrong number of arguments");
    PeerFault f;
    f.kind = shape->kind;
    f.count = 1;
    auto num = [&](std::size_t i, long long max) -> std::optional<long long> {
        auto v = Number(args[i]);
        if (!v || *v > max) return std::nullopt;
        return v;
    };
    switch (shape->layout) {
        case Shape::kNone:
            f.count = 0;
            break;
        case Shape::kCount: {
            auto n = num(0, 1000000);
            if (!n) return fail("expected a count");
            f.count = static_cast<int>(*n);
            if (args.size() > 1) {
                auto t = Unescape(args[1]);
                if (!t) return fail("bad escape in the text");
                f.text = *t;
            }
            break;
        }
        case Shape::kIndexCountText:
        case Shape::kIndexCount: {
            auto i = num(0, 1000000);
            if (!i) return fail("expected a packet or record number");
            f.index = static_cast<int>(*i);
            if (args.size() > 1) {
                auto n = num(1, 1000000);
                if (!n) return fail("expected a count");
                f.count = static_cast<int>(*n);
            }
            if (args.size() > 2) {
                auto t = Unescape(args[2]);
                if (!t) return fail("bad escape in the text");
                f.text = *t;
            }
            break;
        }
        case Shape::kIndexMs: {
            auto i = num(0, 1000000);
            auto ms = num(1, 3600000);
            if (!i || !ms) return fail("expected a number and milliseconds");
            f.index = static_cast<int>(*i);
            f.ms = *ms;
            break;
        }
        case Shape::kMs: {
            auto ms = num(0, 3600000);
            if (!ms) return fail("expected milliseconds");
            f.ms = *ms;
            break;
        }
        case Shape::kByte: {
            auto b = num(0, 255);
            if (!b) return fail("expected a byte value");
            f.text = {static_cast<u8>(*b)};
            break;
        }
    }
    return f;
}

bool LoadPeerRecords(const std::string& path, std::vector<std::vector<u8>>& records, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    std::vector<u8> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::vector<u8>> loaded;
    std::vector<u8> line;
    auto finish = [&]() -> bool {
        if (!line.empty() && line.back() == kCr) line.pop_back();
        if (std::find(line.begin(), line.end(), kCr) != line.end()) {
            if (error) *error = path + ": record " + std::to_string(loaded.size() + 1) + " holds a CR";
            return false;
        }
        if (line.size() > kMaxRecordData) {
            if (error)
                *error = path + ": record " + std::to_string(loaded.size() + 1) + " has " +
                         std::to_string(line.size()) + " bytes, at most " + std::to_string(kMaxRecordData);
            return false;
        }
        loaded.push_back(line);
        line.clear();
        return true;
    };
    for (u8 b : bytes) {
        if (b == kLf) {
            if (!finish()) return false;
        } else {
            line.push_back(b);
        }
    }
    if (!line.empty() && !finish()) return false;
    records = std::move(loaded);
    return true;
}

std::string PeerReport::Summary() const {
    std::ostringstream out;
    if (cradleProbes > 0 || !cradleCommands.empty()) {
        out << "cradle: " << cradleEchoes << " of " << cradleProbes << " probes echoed, relaying at "
            << cradleSpeed << " bps";
        if (!cradleCommands.empty()) {
            out << " (commands";
            for (u8 b : cradleCommands) out << " " << Hex(b);
            out << ")";
        }
        out << "\n";
    }
    if (handshakes > 0) out << "handshakes: " << handshakes << "\n";
    if (imageComplete || imagePacketsAccepted > 0)
        out << "image: " << (imageComplete ? "complete" : "incomplete") << ", " << imagePacketsAccepted
            << " packets verified\n";
    if (lookupComplete || !lookupRecords.empty())
        out << "lookup: " << (lookupComplete ? "complete" : "incomplete") << ", " << lookupRecords.size()
            << " records verified\n";
    if (requests > 0)
        out << "upload: " << (uploadComplete ? "complete" : "incomplete") << ", " << recordsAcknowledged
            << " records acknowledged, " << framesSent << " frames sent, " << naksReceived
            << " NAK received\n";
    out << "errors: " << errors.size() << "\n";
    for (const std::string& e : errors) out << "error: " << e << "\n";
    return out.str();
}

TerminalPeer::TerminalPeer(PeerOptions options) : options_(std::move(options)) {
    report_.cradleSpeed = options_.cradleSpeed;
}

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
        if (f.kind != kind) continue;
        const bool indexed = kind == PeerFaultKind::RefusePacket || kind == PeerFaultKind::IgnorePacket ||
                             kind == PeerFaultKind::RepeatRecord || kind == PeerFaultKind::BadChecksum ||
                             kind == PeerFaultKind::WrongSequence || kind == PeerFaultKind::PausePacket ||
                             kind == PeerFaultKind::PauseRecord;
        if (indexed && f.index != index) continue;
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
    if (!output_.empty()) due = std::max(due, output_.back().dueMs);
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
    for (std::size_t i = 0; i < size; ++i) {
        const u8 b = data[i];
        if (options_.cradleSpeed == 0) {
            relayed.push_back(b);
            continue;
        }
        // With modem lines, RTS off addresses the cradle. Without them (a pseudo-terminal) the cradle
        // takes its own bytes while the terminal is between exchanges, and everything once addressed.
        const bool toCradle =
            line.modemLinesKnown
                ? !line.rts
                : (cradleCommandMode_ || ((b == kCradleProbe || b == kCradleAttention) &&
                                          mode_ == Mode::Idle && buffer_.empty() && relayed.empty()));
        if (toCradle) {
            ReceiveCradle(b, line);
        } else if (line.speed == report_.cradleSpeed) {
            relayed.push_back(b);
        }
        // Bytes at another speed than the cradle's reach nobody intact.
    }
    if (!relayed.empty()) ReceiveTerminal(relayed.data(), relayed.size());
}

void TerminalPeer::ReceiveCradle(u8 b, const PeerLineState& line) {
    if (b == kCradleProbe && !cradleCommandMode_) ++report_.cradleProbes;
    if (line.speed != report_.cradleSpeed) return;
    if (cradleCommandMode_) {
        report_.cradleCommands.push_back(b);
        if (b >= '2' && b <= '6') {
            cradlePendingSpeed_ = *SpeedOfBaudRate('6' - b);
        } else if (b == kCradleQuit) {
            if (cradlePendingSpeed_ != 0) report_.cradleSpeed = cradlePendingSpeed_;
            cradlePendingSpeed_ = 0;
            cradleCommandMode_ = false;
        }
        return;
    }
    if (b == kCradleProbe) {
        ++report_.cradleEchoes;
        u8 echo = kCradleProbe;
        if (const PeerFault* f = FindFault(PeerFaultKind::CradleEcho, 0, false); f && !f->text.empty())
            echo = f->text[0];
        output_.push_back({std::max(now_, lastDue_), {echo}});
        lastDue_ = output_.back().dueMs;
    } else if (b == kCradleAttention) {
        report_.cradleCommands.push_back(b);
        cradleCommandMode_ = true;
    }
}

void TerminalPeer::ReceiveTerminal(const u8* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        if (Silent()) return;
        const u8 b = data[i];
        const bool chunkEnd = i + 1 == size;
        switch (mode_) {
            case Mode::Idle:
                IdleByte(b);
                break;
            case Mode::DownloadFirst:
            case Mode::Image:
            case Mode::Lookup:
                DownloadByte(b, chunkEnd);
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
    if (EndsWith(buffer_, "VARNEL\r")) {
        StartHandshake(true);
    } else if (EndsWith(buffer_, "READ\r")) {
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
        Answer(f->text.empty() ? std::vector<u8>{'N', 'A', 'K', kCr} : f->text);
        return;
    }
    Answer("ACK\r");
    if (!download) {
        mode_ = Mode::Upload;
        recordIndex_ = 0;
        repeatPending_ = false;
        report_.uploadComplete = false;
        SendFrame();
    }
}

void TerminalPeer::DownloadByte(u8 b, bool chunkEnd) {
    buffer_.push_back(b);
    // The host sends nothing unasked, so a handshake arrives on its own.
    if (chunkEnd && Equals(buffer_, "VARNEL\r")) {
        StartHandshake(true);
        return;
    }
    if (mode_ == Mode::DownloadFirst) {
        // An image packet is 103 bytes whatever they hold, packet 0 ending in 0; a lookup record is
        // ended by its CR and is followed by nothing until it is answered.
        if (b == kCr && options_.expect != PeerExpect::Program &&
            (options_.expect == PeerExpect::Lookup ||
             (chunkEnd &&
              (Equals(buffer_, "OVER\r") || CheckLookupPacket(buffer_.data(), buffer_.size()))))) {
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

void TerminalPeer::PacketAccepted() {
    ++accepted_;
}

// The faults a packet meets before it is looked at: ignored, refused, or answered late. False when
// the packet has been dealt with already.
bool TerminalPeer::PacketFaultsLetThrough(std::int64_t& delay) {
    if (FindFault(PeerFaultKind::IgnorePacket, packetIndex_, true)) return false;
    if (PeerFault* f = FindFault(PeerFaultKind::RefusePacket, packetIndex_, true)) {
        Answer(f->text.empty() ? std::vector<u8>{'N', 'A', 'K', kCr} : f->text);
        return false;
    }
    if (PeerFault* p = FindFault(PeerFaultKind::PausePacket, packetIndex_, true)) delay = p->ms;
    return true;
}

void TerminalPeer::HandleImagePacket() {
    std::vector<u8> packet;
    packet.swap(buffer_);
    std::int64_t delay = 0;
    if (!PacketFaultsLetThrough(delay)) return;
    const int number = packet[102];
    if (!CheckImagePacket(packet.data(), packet.size())) {
        report_.errors.push_back("image packet " + std::to_string(number) + ": checksum mismatch");
        Answer("NAK\r", delay);
        return;
    }
    if (number != packetIndex_) {
        // The packet just accepted, sent again because our answer got lost: accept it again.
        if (number + 1 == packetIndex_ &&
            std::equal(packet.begin(), packet.begin() + 100, pendingImage_.begin() + 100 * number)) {
            Answer("ACK\r", delay);
            return;
        }
        report_.errors.push_back("image packet " + std::to_string(number) + " where " +
                                 std::to_string(packetIndex_) + " was expected");
        Answer("NAK\r", delay);
        return;
    }
    std::copy(packet.begin(), packet.begin() + 100, pendingImage_.begin() + 100 * number);
    ++packetIndex_;
    report_.imagePacketsAccepted = packetIndex_;
    PacketAccepted();
    Answer("ACK\r", delay);
    if (packetIndex_ == kImagePacketCount) {
        report_.imageComplete = true;
        report_.image = pendingImage_;
        mode_ = Mode::Idle;
    }
}

void TerminalPeer::HandleLookupPacket() {
    std::vector<u8> packet;
    packet.swap(buffer_);
    std::int64_t delay = 0;
    if (!PacketFaultsLetThrough(delay)) return;
    if (Equals(packet, "OVER\r")) {
        ++packetIndex_;
        PacketAccepted();
        report_.lookupComplete = true;
        mode_ = Mode::Idle;
        Answer("ACK\r", delay);
        return;
    }
    if (packet.size() - 3 > kMaxLookupRecordData || !CheckLookupPacket(packet.data(), packet.size())) {
        report_.errors.push_back("lookup packet " + std::to_string(packetIndex_) + " of " +
                                 std::to_string(packet.size()) + " bytes: checksum or length wrong");
        Answer("NAK\r", delay);
        return;
    }
    report_.lookupRecords.emplace_back(packet.begin(), packet.end() - 3);
    ++packetIndex_;
    PacketAccepted();
    Answer("ACK\r", delay);
}

void TerminalPeer::UploadByte(u8 b) {
    buffer_.push_back(b);
    if (buffer_.size() > 16) buffer_.erase(buffer_.begin());
    if (b != kCr) return;
    std::vector<u8> message;
    message.swap(buffer_);
    if (EndsWith(message, "READ\r")) {
        StartHandshake(false);
        return;
    }
    if (EndsWith(message, "VARNEL\r")) {
        StartHandshake(true);
        return;
    }
    const int total = static_cast<int>(options_.records.size());
    if (Equals(message, "ACK\r")) {
        ++report_.acksReceived;
        if (recordIndex_ >= total) return;
        if (repeatPending_) {
            repeatPending_ = false;
        } else {
            ++report_.recordsAcknowledged;
            PacketAccepted();
            if (Silent()) return;
            if (FindFault(PeerFaultKind::RepeatRecord, recordIndex_, true)) {
                repeatPending_ = true;
                SendFrame();
                return;
            }
        }
        ++recordIndex_;
        SendFrame();
    } else if (Equals(message, "NAK\r")) {
        ++report_.naksReceived;
        if (recordIndex_ < total) SendFrame();
    } else {
        report_.errors.push_back("unexpected answer of " + std::to_string(message.size()) +
                                 " bytes to record " + std::to_string(recordIndex_));
    }
}

void TerminalPeer::SendFrame() {
    const int total = static_cast<int>(options_.records.size());
    if (recordIndex_ >= total) {
        report_.uploadComplete = true;
        mode_ = Mode::Idle;
        Answer("OVER\r");
        return;
    }
    const std::vector<u8>& data = options_.records[static_cast<std::size_t>(recordIndex_)];
    int sequence = recordIndex_ % 10;
    if (FindFault(PeerFaultKind::WrongSequence, recordIndex_, true)) sequence = (sequence + 2) % 10;
    std::vector<u8> frame = MakeRecordFrame(sequence, data.data(), data.size());
    if (FindFault(PeerFaultKind::BadChecksum, recordIndex_, true)) {
        u8& low = frame[frame.size() - 3];
        low = static_cast<u8>(low + 1);
        if (low == kCr) low = static_cast<u8>(kCr + 1);
    }
    std::int64_t delay = 0;
    if (PeerFault* p = FindFault(PeerFaultKind::PauseRecord, recordIndex_, true)) delay = p->ms;
    ++report_.framesSent;
    Answer(std::move(frame), delay);
}

}  // namespace k52
