// The host's receive against a terminal with any schedule of faults on the line: whatever happens, the
// data file holds exactly the records the terminal counts as acknowledged (plus at most the last one
// stored when the exchange failed), in order, each once, and the exchange ends.
#include <cstdio>

#include "FuzzInput.h"
#include "FuzzLink.h"
#include "peer/TerminalPeer.h"
#include "support/MemoryLine.h"
#include "template/Defaults.h"
#include "transfer/TerminalLink.h"

using namespace k52;

namespace {

constexpr PeerFaultKind kKinds[] = {
    PeerFaultKind::LateFrame,    PeerFaultKind::LoseFrame,   PeerFaultKind::GarbleFrame,
    PeerFaultKind::LoseReply,    PeerFaultKind::GarbleReply, PeerFaultKind::LateReply,
    PeerFaultKind::RepeatRecord, PeerFaultKind::PauseRecord, PeerFaultKind::BadChecksum,
    PeerFaultKind::Pause,        PeerFaultKind::Split,
};

PeerOptions Decode(fuzz::FuzzInput& in) {
    PeerOptions o;
    const int records = 1 + in.Byte() % 5;
    for (int r = 0; r < records; ++r) {
        std::vector<u8> data;
        for (int n = in.Byte() % 8; n > 0; --n) {
            const u8 b = in.Byte();
            data.push_back(b == 0x0D || b == 0x0A ? u8{'x'} : b);  // a record is one line
        }
        o.records.push_back(std::move(data));
    }
    for (int n = in.Byte() % 9; n > 0 && !in.empty(); --n) {
        PeerFault f;
        f.kind = kKinds[in.Byte() % std::size(kKinds)];
        f.index = in.Byte() % 12;
        f.count = 1 + in.Byte() % 3;
        f.ms = in.Word() % 2500;
        if (f.kind == PeerFaultKind::Split || f.kind == PeerFaultKind::Pause) f.ms %= 120;
        o.faults.push_back(f);
    }
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    PeerOptions options = Decode(in);
    const std::vector<std::vector<u8>> records = options.records;

    VirtualClock clock;
    TerminalPeer peer(std::move(options));
    MemoryLineFactory lines(clock, &peer);
    ApplicationTemplate t = StartupTemplate();
    fuzz::QuietUi ui;
    const std::string path = fuzz::ScratchDir() + "/data.txt";
    std::remove(path.c_str());
    TerminalLink link(t, lines, clock);
    ReceiveRequest request;
    request.dataFile = path;
    const TransferOutcome outcome = link.Receive(request, ui);

    const int acknowledged = peer.report().recordsAcknowledged;
    K52_FUZZ_CHECK(acknowledged <= static_cast<int>(records.size()));
    std::string expected;
    for (int i = 0; i < acknowledged; ++i) {
        const std::vector<u8>& r = records[static_cast<std::size_t>(i)];
        expected.append(r.begin(), r.end());
        expected += "\r\n";
    }
    const std::string got = fuzz::Contents(path);
    if (outcome.Succeeded()) {
        K52_FUZZ_CHECK(peer.report().uploadComplete);
        K52_FUZZ_CHECK(got == expected);
        K52_FUZZ_CHECK(outcome.recordsStored == acknowledged);
    } else if (got != expected) {
        K52_FUZZ_CHECK(acknowledged < static_cast<int>(records.size()));
        const std::vector<u8>& next = records[static_cast<std::size_t>(acknowledged)];
        K52_FUZZ_CHECK(got == expected + std::string(next.begin(), next.end()) + "\r\n");
        K52_FUZZ_CHECK(outcome.lastMayComeAgain);
    }
    K52_FUZZ_CHECK(clock.NowMs() < 10 * 60 * 1000);  // ends in bounded time
    return 0;
}
