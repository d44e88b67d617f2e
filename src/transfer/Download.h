// One download attempt: the handshake, then the program image or the lookup records in acknowledged
// packets. Each packet waits for one CR-ended reply of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "protocol/DownloadImage.h"
#include "transfer/LookupFile.h"
#include "transfer/PortSession.h"
#include "transfer/TransferOutcome.h"

namespace k52 {

constexpr std::int64_t kReplyTimeoutMs = 3000;

class Downloader {
  public:
    explicit Downloader(PortSession& port) : port_(port) {}

    // True when every packet was acknowledged; the observer has been told either way.
    bool SendProgram(DownloadImageBuilder& builder, ApplicationTemplate& tmpl);
    // `lookupNumber` (1 to 3, 0 when not said) only goes back in the done notice: the terminal is told none.
    bool SendLookup(LookupFile& file, int lookupNumber = 0);
    // After SendLookup: lines sent again after a send that drew no clear answer, so the terminal may
    // have stored them twice (lookup records carry no number).
    const std::vector<long>& maybeDuplicated() const { return maybeDuplicated_; }
    // After a failed attempt: the send given up on drew no reply at all.
    bool unanswered() const { return unanswered_; }

  private:
    enum class Reply { Ack, Nak, Other, None };

    bool Handshake();
    // Reads one reply: up to its CR, ten bytes without one, or the deadline. None when no reply came
    // (nothing, or the start of one without its end).
    Reply ReadReply(std::int64_t deadlineMs);
    // Sends until "ACK", at most `tries` times. Replies come in order, one for each send that arrived;
    // sends left without one are still owed theirs, so once "ACK" comes those replies are awaited (one
    // time-out each) and dropped, and none of them counts for the next packet. `resentUnclear` tells
    // whether a send followed one that had not been clearly refused.
    bool SendUntilAcknowledged(const u8* data, std::size_t size, int tries, bool* resentUnclear);
    bool SendPacket(const u8* data, std::size_t size, bool* resentUnclear = nullptr);
    bool SendImagePackets(DownloadImageBuilder& builder, ApplicationTemplate& tmpl);
    bool SendLookupRecords(LookupFile& file);
    bool Attempt(const std::function<bool()>& send, int lookupNumber = 0);

    PortSession& port_;
    std::vector<u8> reply_;
    std::vector<long> maybeDuplicated_;
    bool unanswered_ = false;
};

}  // namespace k52
