// A terminal link wired to the peer logic over an in-memory line on a virtual clock, with a user
// interface that records everything it is asked to show.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "app/DeskTransfer.h"
#include "peer/TerminalPeer.h"
#include "support/MemoryLine.h"
#include "support/TransferUis.h"
#include "template/Defaults.h"
#include "transfer/TerminalLink.h"

namespace k52::test {

using Bytes = std::vector<u8>;

inline Bytes B(std::string_view s) {
    return Bytes(s.begin(), s.end());
}
inline Bytes B(std::initializer_list<int> v) {
    Bytes b;
    for (int x : v) b.push_back(static_cast<u8>(x));
    return b;
}

// A far end written by the test: called with every write, answers through `out`.
class ScriptedPeer : public LinePeer {
  public:
    using Fn = std::function<void(const Bytes& written, std::int64_t now, std::vector<PeerEmission>& out)>;
    explicit ScriptedPeer(Fn fn) : fn_(std::move(fn)) {}
    void Receive(const u8* data, std::size_t size, const PeerLineState&, std::int64_t nowMs) override {
        fn_(Bytes(data, data + size), nowMs, out_);
    }
    std::vector<PeerEmission> TakeOutput() override {
        std::vector<PeerEmission> o;
        o.swap(out_);
        return o;
    }

  private:
    Fn fn_;
    std::vector<PeerEmission> out_;
};

inline PeerOptions Options(std::initializer_list<const char*> faults, std::vector<Bytes> records = {}) {
    PeerOptions o;
    for (const char* text : faults) {
        std::string error;
        auto f = ParsePeerFault(text, &error);
        EXPECT_TRUE(f.has_value()) << error;
        if (f) o.faults.push_back(*f);
    }
    o.records = std::move(records);
    return o;
}

struct Harness {
    explicit Harness(PeerOptions options = {}) : peer(std::move(options)), lines(clock, &peer) {}
    explicit Harness(ScriptedPeer::Fn fn) : script(std::move(fn)), lines(clock, &script) {}

    // Every write, as separate byte strings, and the writes that were exactly `text`.
    std::vector<Bytes> Writes() const {
        std::vector<Bytes> w;
        for (const auto& x : lines.log.writes) w.push_back(x.bytes);
        return w;
    }
    std::vector<std::int64_t> TimesOf(const Bytes& bytes) const {
        std::vector<std::int64_t> t;
        for (const auto& x : lines.log.writes)
            if (x.bytes == bytes) t.push_back(x.atMs);
        return t;
    }
    int Count(const Bytes& bytes) const { return static_cast<int>(TimesOf(bytes).size()); }

    VirtualClock clock;
    TerminalPeer peer;
    ScriptedPeer script{[](const Bytes&, std::int64_t, std::vector<PeerEmission>&) {}};
    MemoryLineFactory lines;
    ApplicationTemplate tmpl = StartupTemplate();
    RecordingUi ui{clock};
    TerminalLink link{tmpl, lines, clock};
    DeskTransfer desk{link, ui, ui};
    TransferOutcome outcome;  // of the last command

    // The desktop's command, the file dialogs answered by `ui`.
    const TransferOutcome& Download(Transport t = Transport::Direct, Payload p = Payload::Program) {
        return outcome = desk.RunDownload(t, p, ui);
    }
    const TransferOutcome& Receive(Transport t = Transport::Direct) {
        return outcome = desk.RunReceive(t, ui);
    }
};

}  // namespace k52::test
