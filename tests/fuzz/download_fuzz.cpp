// The host's program and lookup download against a terminal that answers anything (acknowledgements,
// refusals, silence, garbage, merged or split replies, late): the exchange ends, packets go out in
// order (each one again or the next, from the first after every handshake), and success means every
// packet went out.
#include <cstdio>
#include <fstream>

#include "FuzzInput.h"
#include "FuzzLink.h"
#include "support/MemoryLine.h"
#include "template/Defaults.h"
#include "transfer/TerminalLink.h"

using namespace k52;

namespace {

// Answers every write with the next reply the input describes.
class ScriptPeer : public LinePeer {
  public:
    explicit ScriptPeer(fuzz::FuzzInput& in) : in_(in) {}
    void Receive(const u8* data, std::size_t size, const PeerLineState&, std::int64_t nowMs) override {
        writes.emplace_back(data, data + size);
        const u8 kind = in_.empty() ? u8{0} : in_.Byte();
        const std::int64_t due = nowMs + (kind >> 4) * 250;  // up to 3.75 s late
        switch (kind & 0x0F) {
            case 0:
            case 1:
            case 2:
                Say(due, "ACK\r");
                break;
            case 3:
                Say(due, "NAK\r");
                break;
            case 4:
                break;  // silence
            case 5:
                Say(due, "ACK");  // no CR
                break;
            case 6:
                Say(due, "ACK\rACK\r");
                break;
            case 7:
                Say(due, "A");
                Say(due + 40, "CK\r");
                break;
            default: {
                const std::string_view junk = in_.Take(kind & 0x07);
                out_.push_back({due, std::vector<u8>(junk.begin(), junk.end())});
                break;
            }
        }
    }
    std::vector<PeerEmission> TakeOutput() override {
        std::vector<PeerEmission> o;
        o.swap(out_);
        return o;
    }
    std::vector<std::vector<u8>> writes;

  private:
    void Say(std::int64_t due, std::string_view text) {
        out_.push_back({due, std::vector<u8>(text.begin(), text.end())});
    }
    fuzz::FuzzInput& in_;
    std::vector<PeerEmission> out_;
};

bool IsText(const std::vector<u8>& w, std::string_view text) {
    return w.size() == text.size() && std::equal(w.begin(), w.end(), text.begin());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const u8 setup = in.Byte();
    const bool lookup = setup & 1;
    const int lookupRecords = 1 + (setup >> 1) % 6;

    VirtualClock clock;
    ScriptPeer peer(in);
    MemoryLineFactory lines(clock, &peer);
    ApplicationTemplate t = StartupTemplate();
    fuzz::QuietUi ui;
    DownloadRequest request;
    request.payload = lookup ? Payload::Lookup : Payload::Program;
    request.retries = static_cast<unsigned>((setup >> 5) % 3);
    if (lookup) {
        // Distinct records, so the order they went out in can be read back from the line.
        const std::string path = fuzz::ScratchDir() + "/lookup.txt";
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (int r = 0; r < lookupRecords; ++r) out << "L" << r << "\r\n";
        out.close();
        request.lookupFile = path;
    }
    TerminalLink link(t, lines, clock);
    const TransferOutcome outcome = link.Download(request, ui);

    // Which packet each write was: -1 a handshake, 0.. the packet's number, `total` the end marker.
    const int total = lookup ? lookupRecords : 105;
    int last = -1;
    bool sawEnd = false;
    for (const std::vector<u8>& w : peer.writes) {
        if (IsText(w, "VARNEL\r")) {
            last = -1;
            sawEnd = false;
            continue;
        }
        int number = -2;
        if (!lookup && w.size() == 103) number = w[102];
        if (lookup && IsText(w, "OVER\r")) number = total;
        if (lookup && w.size() >= 5 && w[0] == 'L') number = w[1] - '0';
        K52_FUZZ_CHECK(number != -2);  // nothing but handshakes and packets goes out
        K52_FUZZ_CHECK(number == last || number == last + 1);
        last = number;
        sawEnd = sawEnd || number == (lookup ? total : total - 1);
    }
    if (outcome.Succeeded() || outcome.failure == LinkFailure::MaybeDuplicated) K52_FUZZ_CHECK(sawEnd);
    K52_FUZZ_CHECK(clock.NowMs() < 60 * 60 * 1000);
    return 0;
}
