// The terminal and its infrared cradle as logic: what they answer to every exchange, with injectable
// faults, checking what they receive and keeping the image and lookup records that arrived.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/LinePeer.h"
#include "template/Template.h"

namespace k52 {

enum class PeerFaultKind {
    RefuseHandshake,  // index unused; count handshakes; text the answer ("NAK\r" by default)
    IgnoreHandshake,  // count handshakes
    RefusePacket,     // download packet `index`, `count` times; text the answer
    IgnorePacket,     // download packet `index`, `count` times
    SilentAfter,      // after `count` packets or records acknowledged, nothing more is said
    RepeatRecord,     // record `index` is sent once more after it was acknowledged
    BadChecksum,      // the first `count` sends of record `index` carry a wrong checksum
    WrongSequence,    // the first `count` sends of record `index` carry a wrong sequence number
    Pause,            // every answer goes out `ms` late
    PausePacket,      // the answer to download packet `index` goes out `ms` late, once
    PauseRecord,      // the first send of record `index` goes out `ms` late
    Split,            // answers go out one byte at a time, `ms` apart
    CradleEcho,       // the cradle echoes text[0] instead of the probe byte
};

struct PeerFault {
    PeerFaultKind kind = PeerFaultKind::Pause;
    int index = 0;
    int count = 1;
    std::int64_t ms = 0;
    std::vector<u8> text;
};

// Parses one --fault SPEC; see kPeerFaultHelp.
std::optional<PeerFault> ParsePeerFault(std::string_view text, std::string* error = nullptr);
extern const char kPeerFaultHelp[];

enum class PeerExpect { Auto, Program, Lookup };

struct PeerOptions {
    std::uint32_t cradleSpeed = 0;  // 0: no cradle in front of the terminal
    std::vector<std::vector<u8>> records;
    std::vector<PeerFault> faults;
    PeerExpect expect = PeerExpect::Auto;
};

// Reads collected records for the peer to send: one per line, LF or CR LF ended; each at most 251 bytes.
bool LoadPeerRecords(const std::string& path, std::vector<std::vector<u8>>& records, std::string* error);

struct PeerReport {
    int cradleProbes = 0;  // probe bytes seen at any speed
    int cradleEchoes = 0;
    std::uint32_t cradleSpeed = 0;   // the speed the cradle relays at now
    std::vector<u8> cradleCommands;  // bytes of the speed switches, in order
    int handshakes = 0;              // "VARNEL\r" seen
    int requests = 0;                // "READ\r" seen
    int imagePacketsAccepted = 0;    // in the current attempt
    bool imageComplete = false;
    std::vector<u8> image;                       // 10500 bytes once complete
    std::vector<std::vector<u8>> lookupRecords;  // of the current attempt
    bool lookupComplete = false;
    int framesSent = 0;
    int recordsAcknowledged = 0;
    int acksReceived = 0;
    int naksReceived = 0;
    bool uploadComplete = false;      // "OVER\r" sent after every record was acknowledged
    std::vector<std::string> errors;  // what failed verification

    std::string Summary() const;
};

class TerminalPeer : public LinePeer {
  public:
    explicit TerminalPeer(PeerOptions options = {});
    void Receive(const u8* data, std::size_t size, const PeerLineState& line, std::int64_t nowMs) override;
    std::vector<PeerEmission> TakeOutput() override;

    // A download or an upload ran to its end.
    bool ExchangeEnded() const;
    const PeerReport& report() const { return report_; }
    const PeerOptions& options() const { return options_; }

  private:
    enum class Mode { Idle, DownloadFirst, Image, Lookup, Upload };

    void ReceiveCradle(u8 b, const PeerLineState& line);
    void ReceiveTerminal(const u8* data, std::size_t size);
    void IdleByte(u8 b);
    void DownloadByte(u8 b, bool chunkEnd);
    void UploadByte(u8 b);
    void StartHandshake(bool download);
    void HandleImagePacket();
    void HandleLookupPacket();
    void PacketAccepted();
    void SendFrame();
    void Answer(std::vector<u8> bytes, std::int64_t extraDelayMs = 0);
    void Answer(std::string_view text, std::int64_t extraDelayMs = 0);
    bool Silent() const;
    PeerFault* FindFault(PeerFaultKind kind, int index, bool consume);
    bool PacketFaultsLetThrough(std::int64_t& delay);

    PeerOptions options_;
    PeerReport report_;
    std::vector<PeerEmission> output_;
    std::int64_t now_ = 0;
    std::int64_t lastByteAt_ = 0;
    std::int64_t lastDue_ = 0;

    // Cradle
    bool cradleCommandMode_ = false;
    bool cradleSwitching_ = false;
    std::uint32_t cradlePendingSpeed_ = 0;

    // Terminal
    Mode mode_ = Mode::Idle;
    std::vector<u8> buffer_;
    int packetIndex_ = 0;  // the next download packet expected, from 0
    int accepted_ = 0;     // packets and records acknowledged, for SilentAfter
    std::vector<u8> pendingImage_;
    int recordIndex_ = 0;  // the record being sent
    bool repeatPending_ = false;
};

}  // namespace k52
