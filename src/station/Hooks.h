// Hooks: programs a site runs after each upload (its row is in the ledger) and on the station's other
// events, beside collection and never in its way. Each hook gets the upload or event in its environment
// (K52_...) and as one JSON object on its standard input; no shell is involved. Every run's end goes into
// the ledger's deliveries (one row per hook and upload), and a failed run is tried again later.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "line/Clock.h"
#include "station/CollectStation.h"
#include "station/Ledger.h"

namespace k52 {

struct Hook {
    std::string program;   // run as it is, with no arguments
    bool onUpload = true;  // after each upload; otherwise on every event that is not an upload
};

// The seam to the system's processes: a program started with its environment and input, watched without
// ever waiting for it.
class HookProcess {
  public:
    virtual ~HookProcess() = default;
    // Its exit code once it ended (-1 when a signal ended it); nullopt while it runs. Never waits.
    virtual std::optional<int> Poll() = 0;
    // Ends it (and the processes it started) at once.
    virtual void Kill() = 0;
    // The first of what it wrote to its output and errors.
    virtual std::string Output() const = 0;
};

class HookProcesses {
  public:
    virtual ~HookProcesses() = default;
    // `env` is added to this process's environment ("NAME=value"); `input` is its standard input.
    // Nullptr with the reason when it cannot be started.
    virtual std::unique_ptr<HookProcess> Start(const std::string& program,
                                               const std::vector<std::string>& env, const std::string& input,
                                               std::string* reason) = 0;
};

// posix_spawn with its own process group, so that a time-out ends what the hook started too.
std::unique_ptr<HookProcesses> SystemHookProcesses();

// The programs in a drop-in folder (hooks.d), in name order: executable regular files whose names do not
// start with '.' or end with '~'. None for a missing folder.
std::vector<std::string> DropInHooks(const std::string& folder);

// The environment a hook gets for a payload: each member as K52_NAME (upper case), numbers as digits.
std::vector<std::string> HookEnvironment(const std::string& payloadJson);

// True for the events that end an upload (finished, partial, interrupted, empty).
bool EndsUpload(CollectEventKind kind);

// What a station tells its hooks about itself.
struct HookStation {
    std::string folder;  // absolute: K52_FILE is made from it
    std::string id, host;
};

// The payload for an upload, from its row (the names of the environment).
std::string UploadPayload(const UploadRow& row, const std::string& event, const HookStation& station);
// The payload for another event.
std::string EventPayload(const CollectEvent& event, const std::string& name, const HookStation& station);

struct HookOptions {
    std::int64_t timeLimitMs = 60000;
    int attempts = 4;                   // runs in all before a delivery is failed
    std::int64_t firstRetryMs = 30000;  // then twice as long each time, up to an hour
    std::size_t parallel = 4;           // hooks running at once
    std::size_t outputLimit = 2048;     // bytes of output kept (the first lines)
};

// Runs one hook once on the calling thread, waiting for it up to the time limit on `clock`: for a test
// fire and a retry asked for by hand. The delivery's end is written into `row`.
void RunHookNow(HookProcesses& processes, Clock& clock, const HookOptions& options, DeliveryRow& row);

// Sits between the station and its front end: every event goes on to `next` at once; the hooks for it
// are queued, and Pump (on another thread) runs them.
class HookDispatcher : public CollectObserver {
  public:
    using NameOf = std::function<std::string(const std::string& device)>;
    using DeliveryNote = std::function<void(const DeliveryRow&)>;
    using WallClock = std::function<std::time_t()>;

    // `ledger` is this dispatcher's own connection to the station's ledger (it is used on Pump's thread).
    HookDispatcher(Ledger& ledger, CollectObserver& next, HookProcesses& processes, Clock& clock,
                   WallClock wall, std::vector<Hook> hooks, HookOptions options, HookStation station,
                   NameOf nameOf = {}, DeliveryNote note = {});
    ~HookDispatcher() override;

    void OnEvent(const CollectEvent& event) override;
    void OnProgress(const std::string& device, const TransferProgress& progress) override {
        next_.OnProgress(device, progress);
    }

    // Takes up the deliveries a stopped station left pending, before anything new.
    void Resume();
    // One round without waiting: queued events become deliveries, due ones start, running ones are
    // watched and those past the time limit ended.
    void Pump();
    // Pumps until `stop`, then gives the running hooks up to `graceMs` to end before ending them (their
    // deliveries stay pending for the next start).
    void Run(const StopFlag& stop, std::int64_t graceMs = 5000);
    std::size_t Running() const;
    std::size_t Waiting() const;  // deliveries not yet delivered or failed

  private:
    struct Task;
    void Take(const CollectEvent& event);
    void Add(DeliveryRow row);
    void Start(Task& task, std::int64_t now);
    void End(Task& task, std::int64_t now, std::optional<int> exit, bool timedOut, const std::string& why);
    void Store(const DeliveryRow& row);

    Ledger& ledger_;
    CollectObserver& next_;
    HookProcesses& processes_;
    Clock& clock_;
    WallClock wall_;
    std::vector<Hook> hooks_;
    HookOptions options_;
    HookStation station_;
    NameOf nameOf_;
    DeliveryNote note_;
    mutable std::mutex mutex_;  // the queue, shared with the ports' threads
    std::deque<CollectEvent> queue_;
    std::vector<std::unique_ptr<Task>> tasks_;  // Pump's thread only
};

}  // namespace k52
