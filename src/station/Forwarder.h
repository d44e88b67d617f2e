// The forwarder: a station's uploads delivered to the central store oldest first, each marked delivered
// in the ledger only after the central commit, with a capped exponential backoff while the store is
// away or refuses. It reads the ledger through a connection of its own and never holds up collection.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "line/Clock.h"
#include "station/CentralStore.h"
#include "station/ForwarderState.h"
#include "station/Ledger.h"

namespace k52 {

struct ForwardEvent {
    enum class Kind { Delivered, Failed } kind = Kind::Delivered;
    std::string key, terminal;
    int records = 0;
    std::string message;  // Failed: why (English, as the ledger keeps it)
};

struct ForwarderOptions {
    std::int64_t idleMs = 2000;        // between looks at the ledger while nothing waits
    std::int64_t firstRetryMs = 2000;  // the wait after a failed pass, doubled after each one more
    std::int64_t maxRetryMs = 120000;
    // The station's template's separators: each record's fields are stored split beside it.
    std::optional<FieldSeparators> separators;
    // Each upload's records sent so far, after each batch (a progress display; tests stop the server here).
    std::function<void(const UploadRow&, std::size_t sent)> progress;
    std::function<void(const ForwardEvent&)> onEvent;  // called on the forwarder's thread
};

class Forwarder {
  public:
    using WallClock = std::function<std::time_t()>;
    Forwarder(std::string folder, std::string conninfo, Clock& clock, const StopFlag& stop, WallClock wall,
              ForwarderOptions options = {});

    struct Pass {
        int delivered = 0;  // stored now or found stored already
        int failed = 0;     // still waiting after this pass
        std::string error;  // the last failure's reason
    };
    // Every waiting upload once, oldest first; a broken connection ends the pass at that upload.
    Pass RunOnce();
    // Passes until the stop: `idleMs` apart, or after a failed pass the backoff's wait.
    void Run();
    // The wait after `failures` failed passes in a row (1, 2, ...).
    std::int64_t RetryMs(int failures) const;

    // Safe from any thread.
    ForwarderState State();

  private:
    bool DeliverOne(const UploadRow& row, Pass& pass);
    void Failed(const UploadRow& row, const std::string& why, Pass& pass);
    void Refresh();
    std::string NowUtc() const;

    std::string folder_, conninfo_;
    Clock& clock_;
    const StopFlag& stop_;
    WallClock wall_;
    ForwarderOptions options_;
    std::optional<Ledger> ledger_;
    std::optional<CentralStore> store_;
    std::mutex mutex_;
    ForwarderState state_;
};

// FOLDER's station.conf: `central=` (the store) and `template=` (the terminals' template, for the
// records' fields), each "" when not named.
struct StationConf {
    std::string central, templatePath;
};
// An absent file names nothing; nullopt with the reason when it is there but cannot be read.
std::optional<StationConf> ReadStationConf(const std::string& folder, std::string* reason);

}  // namespace k52
