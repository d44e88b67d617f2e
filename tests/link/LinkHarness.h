// A terminal link wired to the peer logic over an in-memory line on a virtual clock, and a user
// interface that records everything it is asked to show.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "link/TerminalLink.h"
#include "link/TerminalPeer.h"
#include "support/MemoryLine.h"
#include "template/Defaults.h"

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

struct Shown {
    std::string text;
    std::string title;
    MessageIcon icon;
    MessageButtons buttons;
    std::int64_t at;
};

class RecordingUi : public TransferUi {
  public:
    explicit RecordingUi(Clock& clock) : clock_(clock) {}

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override {
        shown.push_back({std::string(text), std::string(title), icon, buttons, clock_.NowMs()});
        events.push_back("message " + std::string(text));
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (answers.empty()) return MessageAnswer::No;
        MessageAnswer a = answers.front();
        answers.pop_front();
        if (onAnswer) onAnswer();
        return a;
    }
    void BeginProgress(std::string_view title, std::string_view text) override {
        events.push_back("progress begin " + std::string(title) + " " + std::string(text));
    }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void EndProgress() override { events.push_back("progress end"); }
    void BeginReceiveStatus() override { status.push_back("begin"); }
    void UpdateReceiveStatus(int count) override { status.push_back("update " + std::to_string(count)); }
    void EndReceiveStatus() override { status.push_back("end"); }
    std::optional<std::string> ChooseLookupFile(const std::string& previous) override {
        offeredLookup.push_back(previous);
        return lookupChoice;
    }
    std::optional<std::string> ChooseDataFile() override { return dataChoice; }
    void OpenForViewing(const std::string& path) override { viewed.push_back(path); }
    void Idle() override { idle.push_back(clock_.NowMs()); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const Shown& s : shown) t.push_back(s.text);
        return t;
    }

    std::deque<MessageAnswer> answers;  // for Yes/No questions, then No
    std::function<void()> onAnswer;
    std::optional<std::string> lookupChoice;
    std::optional<std::string> dataChoice;
    std::vector<Shown> shown;
    std::vector<std::string> events;
    std::vector<int> progress;
    std::vector<std::string> status;
    std::vector<std::string> offeredLookup;
    std::vector<std::string> viewed;
    std::vector<std::int64_t> idle;

  private:
    Clock& clock_;
};

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

inline ApplicationTemplate FreshTemplate() {
    ApplicationTemplate t{};
    ApplyBarcodeDefaults(t);
    NewTemplateReset(t);
    return t;
}

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
    ApplicationTemplate tmpl = FreshTemplate();
    RecordingUi ui{clock};
    TerminalLink link{tmpl, lines, clock, ui};
    TransferOutcome outcome;  // of the last command

    const TransferOutcome& Download(Transport t = Transport::Direct, Payload p = Payload::Program) {
        return outcome = link.RunDownload(t, p);
    }
    const TransferOutcome& Receive(Transport t = Transport::Direct) { return outcome = link.RunReceive(t); }
};

}  // namespace k52::test
