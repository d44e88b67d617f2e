// The collection station's test harness: a cradle of terminals on the in-memory line, a clock that lets a
// test act as time passes, the station's events, and one station on a temporary folder.
#pragma once

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "station/CollectStation.h"
#include "station/Ledger.h"
#include "station/StationRunner.h"
#include "support/LinkHarness.h"
#include "support/TempDir.h"
#include "util/Sha256.h"

namespace k52::test {

// A cradle into which terminals are put one after another: each stays silent for its first few requests,
// then uploads; once its upload ended, the next one takes its place.
class Cradle : public LinePeer {
  public:
    struct Upload {
        int silentRequests = 0;
        PeerOptions options;
    };
    explicit Cradle(std::deque<Upload> uploads) : uploads_(std::move(uploads)) { Next(); }
    void Receive(const u8* data, std::size_t size, const PeerLineState& line, std::int64_t nowMs) override {
        if (terminal_ && terminal_->ExchangeEnded()) Next();
        if (!terminal_) return;
        if (silent_ > 0 && Bytes(data, data + size) == B("READ\r")) {
            --silent_;
            return;
        }
        terminal_->Receive(data, size, line, nowMs);
    }
    std::vector<PeerEmission> TakeOutput() override {
        return terminal_ ? terminal_->TakeOutput() : std::vector<PeerEmission>{};
    }
    int Acknowledged() const { return terminal_ ? terminal_->report().recordsAcknowledged : 0; }

  private:
    void Next() {
        terminal_.reset();
        if (uploads_.empty()) return;
        silent_ = uploads_.front().silentRequests;
        terminal_ = std::make_unique<TerminalPeer>(std::move(uploads_.front().options));
        uploads_.pop_front();
    }
    std::deque<Upload> uploads_;
    std::unique_ptr<TerminalPeer> terminal_;
    int silent_ = 0;
};

// Lets a test act as time passes: unplug the adapter, press Ctrl+C.
struct HookClock : VirtualClock {
    std::function<void(std::int64_t)> hook;
    std::int64_t NowMs() override {
        if (hook) hook(VirtualClock::NowMs());
        return VirtualClock::NowMs();
    }
};

struct Events : CollectObserver {
    void OnEvent(const CollectEvent& e) override {
        seen.push_back(e);
        if (onEvent) onEvent(e);
    }
    int Count(CollectEventKind kind) const {
        int n = 0;
        for (const CollectEvent& e : seen) n += e.kind == kind;
        return n;
    }
    std::vector<CollectEvent> seen;
    std::function<void(const CollectEvent&)> onEvent;
};

inline std::vector<Bytes> Records(const std::string& prefix, int n) {
    std::vector<Bytes> r;
    for (int i = 0; i < n; ++i) r.push_back(B(prefix + std::to_string(i)));
    return r;
}

inline std::string Lines(const std::string& prefix, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += prefix + std::to_string(i) + "\r\n";
    return s;
}

constexpr std::time_t kMay1 = 1714521600;  // 2024-05-01 00:00:00 UTC

struct Station {
    explicit Station(std::deque<Cradle::Upload> uploads) : cradle(std::move(uploads)), lines(clock, &cradle) {
        setenv("TZ", "UTC0", 1);
        tzset();
        std::string reason;
        ledger.emplace(*Ledger::Open(dir.path().string(), &reason));
        port.device = "/dev/ttyUSB3";
        port.byId = "/dev/serial/by-id/usb-K52_Cradle-if00";
        port.lines = &lines;
        port.tmpl = StartupTemplate();
    }
    // Ends the run once `uploads` uploads have ended (any outcome).
    std::vector<UploadRow> Run(int uploads, bool frozenWallClock = false) {
        events.onEvent = [&, uploads](const CollectEvent&) {
            const int ended =
                events.Count(CollectEventKind::Finished) + events.Count(CollectEventKind::Partial) +
                events.Count(CollectEventKind::Interrupted) + events.Count(CollectEventKind::Empty);
            if (ended >= uploads) stop.store(true);
        };
        CollectStation station(dir.path().string(), 5000, stop, *ledger, events, [&, frozenWallClock] {
            return kMay1 +
                   (frozenWallClock ? 0 : static_cast<std::time_t>(clock.VirtualClock::NowMs() / 1000));
        });
        station.Serve(port, clock);
        std::string reason;
        return *ledger->List("", "", &reason);
    }
    std::string Read(const std::string& file) const { return dir.Read(file); }

    TempDir dir;
    HookClock clock;
    Cradle cradle;
    MemoryLineFactory lines;
    StopFlag stop{false};
    std::optional<Ledger> ledger;
    Events events;
    CollectPort port;
};

}  // namespace k52::test
