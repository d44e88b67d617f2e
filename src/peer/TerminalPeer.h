// The terminal as logic: what it answers to every exchange, with injectable faults, checking what it
// receives and keeping the image and lookup records that arrived. Its replies go out strictly in order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "peer/CradlePeer.h"
#include "peer/LinePeer.h"
#include "peer/PeerFaults.h"
#include "peer/PeerRecords.h"
#include "peer/PeerReport.h"

namespace k52 {

enum class PeerExpect { Auto, Program, Lookup };

struct PeerOptions {
    std::uint32_t cradleSpeed = 0;  // 0: no cradle in front of the terminal
    std::vector<std::vector<u8>> records;
    std::vector<PeerFault> faults;
    PeerExpect expect = PeerExpect::Auto;
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

    void ReceiveTerminal(const u8* data, std::size_t size);
    void IdleByte(u8 b);
    void DownloadByte(u8 b, bool chunkEnd);
    void UploadByte(u8 b);
    void UploadReply(const std::vector<u8>& reply);
    void StartHandshake(bool download);
    void HandleImagePacket();
    void HandleLookupPacket();
    void SendFrame();
    void Answer(std::vector<u8> bytes, std::int64_t extraDelayMs = 0);
    void Answer(std::string_view text, std::int64_t extraDelayMs = 0);
    bool Silent() const;
    PeerFault* FindFault(PeerFaultKind kind, int index, bool consume);
    // The faults a download packet meets before it is looked at. False when it has been dealt with.
    bool PacketFaultsLetThrough(std::vector<u8>& packet, bool& answerLost, std::int64_t& delay);

    PeerOptions options_;
    PeerReport report_;
    CradlePeer cradle_;
    std::vector<PeerEmission> output_;
    std::int64_t now_ = 0;
    std::int64_t lastByteAt_ = 0;
    std::int64_t lastDue_ = 0;

    Mode mode_ = Mode::Idle;
    std::vector<u8> buffer_;
    int packetIndex_ = 0;  // the next download packet expected, from 0
    int packetSends_ = 0;  // download packets seen in the exchange, resends included
    int accepted_ = 0;     // packets and records acknowledged, for SilentAfter
    std::vector<u8> pendingImage_;
    int recordIndex_ = 0;  // the record being sent
    int replies_ = 0;      // replies to record frames seen, lost ones included
    std::int64_t replyDelay_ = 0;
    bool repeatPending_ = false;
};

}  // namespace k52
