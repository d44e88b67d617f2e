// The terminal emulator: whatever a host sends, in chunks, at changing speeds and times.
#include "FuzzInput.h"
#include "peer/TerminalPeer.h"
#include "protocol/DownloadImage.h"

using namespace k52;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    PeerOptions options;
    const std::uint8_t setup = in.Byte();
    if (setup & 1) options.cradleSpeed = 57600;
    if (setup & 2) options.records = {{'A', 'B'}, {}, std::vector<u8>(251, 0x0D)};
    static constexpr std::uint32_t kSpeeds[] = {115200, 57600, 38400, 19200, 9600};
    TerminalPeer peer(std::move(options));
    std::int64_t now = 0;
    std::int64_t lastDue = 0;
    while (!in.empty()) {
        const std::uint8_t head = in.Byte();
        const std::string_view chunk = in.Take(head & 0x3F);
        const PeerLineState line{kSpeeds[(head >> 6) % 5], (setup & 4) != 0, (setup & 8) != 0,
                                 (head & 0x80) != 0};
        peer.Receive(reinterpret_cast<const u8*>(chunk.data()), chunk.size(), line, now);
        for (const PeerEmission& e : peer.TakeOutput()) {
            // A terminal answers in order and never before it was asked.
            K52_FUZZ_CHECK(e.dueMs >= lastDue && e.dueMs >= now);
            lastDue = e.dueMs;
        }
        now += in.Byte() * 16;
        const PeerReport& r = peer.report();
        K52_FUZZ_CHECK(r.imagePacketsAccepted >= 0 && r.imagePacketsAccepted <= 105);
        K52_FUZZ_CHECK(!r.imageComplete || r.image.size() == kDownloadImageSize);
        K52_FUZZ_CHECK(r.recordsAcknowledged <= 3 * r.requests);  // each request starts the upload over
        for (const std::vector<u8>& record : r.lookupRecords) K52_FUZZ_CHECK(record.size() <= 253);
    }
    return 0;
}
