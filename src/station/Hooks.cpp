// The hooks' queue and their runs: a delivery row before a hook first runs, its end after each run, and
// the retries on the dispatcher's clock.
#include "station/Hooks.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "i18n/Translate.h"
#include "util/LocalTime.h"

namespace k52 {
namespace {

constexpr std::int64_t kLongestRetryMs = 3600 * 1000;
constexpr std::int64_t kWaitSliceMs = 100;

using Json = nlohmann::ordered_json;

std::string Dump(const Json& j) {
    return j.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

bool EndsUpload(CollectEventKind kind) {
    return kind == CollectEventKind::Finished || kind == CollectEventKind::Partial ||
           kind == CollectEventKind::Interrupted || kind == CollectEventKind::Empty;
}

std::vector<std::string> DropInHooks(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> found;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.' || name.back() == '~') continue;
        std::error_code e;
        const fs::file_status status = fs::status(entry.path(), e);
        if (e || !fs::is_regular_file(status)) continue;
        if ((status.permissions() &
             (fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec)) == fs::perms::none)
            continue;
        found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> HookEnvironment(const std::string& payloadJson) {
    std::vector<std::string> env;
    const Json j = Json::parse(payloadJson, nullptr, false);
    if (!j.is_object()) return env;
    for (const auto& [name, value] : j.items()) {
        std::string key = "K52_";
        for (const char c : name) key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const std::string text = value.is_string() ? value.get<std::string>()
                                 : value.is_null() ? ""
                                                   : Dump(value);
        // A NUL cannot pass through the environment; the JSON on the input keeps it.
        if (text.find('\0') == std::string::npos) env.push_back(key + "=" + text);
    }
    return env;
}

std::string UploadPayload(const UploadRow& row, const std::string& event, const HookStation& station) {
    Json j{{"event", event},
           {"upload_key", row.key},
           {"terminal", row.terminal},
           {"terminal_name", row.name},
           {"device", row.device},
           {"file", row.file.empty() ? std::string() : station.folder + "/" + row.file},
           {"records", row.records},
           {"outcome", row.outcome},
           {"sha256", row.sha256},
           {"started", row.started},
           {"ended", row.ended},
           {"station", row.stationId.empty() ? station.id : row.stationId},
           {"host", row.host.empty() ? station.host : row.host}};
    return Dump(j);
}

std::string EventPayload(const CollectEvent& e, const std::string& name, const HookStation& station) {
    Json j{{"event", CollectEventKey(e.kind)},
           {"time", e.time},
           {"terminal", e.terminal},
           {"terminal_name", name},
           {"device", e.device},
           {"message", e.message},
           {"code", e.notice ? std::string(NoticeCode(e.notice->kind)) : std::string()},
           {"station", station.id},
           {"host", station.host}};
    if (!e.key.empty()) j["upload_key"] = e.key;
    return Dump(j);
}

namespace {

// The end of one run, in the delivery's row; true when it was delivered.
bool Record(DeliveryRow& row, std::optional<int> exit, bool timedOut, const std::string& why,
            std::int64_t durationMs, const std::string& output) {
    ++row.attempts;
    row.exitStatus = exit.value_or(-1);
    row.durationMs = durationMs;
    row.output = output;
    if (!why.empty())
        row.reason = why;
    else if (timedOut)
        row.reason = Substitute(K52_EN("timed out after %1 s"), {std::to_string(durationMs / 1000)});
    else if (!exit || *exit < 0)
        row.reason = K52_EN("ended by a signal");
    else if (*exit != 0)
        row.reason = Substitute(K52_EN("exit status %1"), {std::to_string(*exit)});
    else
        row.reason.clear();
    return row.reason.empty();
}

}  // namespace

void RunHookNow(HookProcesses& processes, Clock& clock, const HookOptions& options, DeliveryRow& row) {
    std::string why;
    const std::int64_t begun = clock.NowMs();
    std::unique_ptr<HookProcess> p =
        processes.Start(row.hook, HookEnvironment(row.payload), row.payload, &why);
    std::optional<int> exit;
    bool timedOut = false;
    while (p && !(exit = p->Poll())) {
        if (clock.NowMs() - begun >= options.timeLimitMs) {
            p->Kill();
            timedOut = true;
            break;
        }
        clock.SleepUntil(clock.NowMs() + kWaitSliceMs);
    }
    const bool ok = Record(row, exit, timedOut, why, clock.NowMs() - begun, p ? p->Output() : "");
    row.state = ok ? "delivered" : "failed";
}

struct HookDispatcher::Task {
    DeliveryRow row;
    std::int64_t dueMs = 0;
    std::int64_t startedMs = 0;
    std::unique_ptr<HookProcess> process;
    bool done = false;
};

HookDispatcher::HookDispatcher(Ledger& ledger, CollectObserver& next, HookProcesses& processes, Clock& clock,
                               WallClock wall, std::vector<Hook> hooks, HookOptions options,
                               HookStation station, NameOf nameOf, DeliveryNote note)
    : ledger_(ledger),
      next_(next),
      processes_(processes),
      clock_(clock),
      wall_(std::move(wall)),
      hooks_(std::move(hooks)),
      options_(options),
      station_(std::move(station)),
      nameOf_(nameOf ? std::move(nameOf) : [](const std::string&) { return std::string(); }),
      note_(std::move(note)) {}

HookDispatcher::~HookDispatcher() {
    for (auto& t : tasks_)
        if (t->process) t->process->Kill();
}

void HookDispatcher::OnEvent(const CollectEvent& event) {
    // Queued before the front end hears of it, so that whatever the front end does next finds it queued.
    // Only the start of an upload has no hooks of its own: its end has.
    if (event.kind != CollectEventKind::Started && !hooks_.empty()) {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(event);
    }
    next_.OnEvent(event);
}

std::size_t HookDispatcher::Running() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<std::size_t>(
        std::count_if(tasks_.begin(), tasks_.end(), [](const auto& t) { return t->process != nullptr; }));
}

std::size_t HookDispatcher::Waiting() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return tasks_.size() + queue_.size();
}

void HookDispatcher::Store(const DeliveryRow& row) {
    std::string reason;
    // A row the ledger will not take now is written with the run's next end; the run goes ahead.
    ledger_.PutDelivery(row, &reason);
}

void HookDispatcher::Resume() {
    std::string reason;
    const auto rows = ledger_.Deliveries("pending", "", &reason);
    if (!rows) return;
    for (const DeliveryRow& row : *rows) {
        auto task = std::make_unique<Task>();
        task->row = row;
        task->dueMs = clock_.NowMs();
        std::lock_guard<std::mutex> lock(mutex_);
        tasks_.push_back(std::move(task));
    }
}

void HookDispatcher::Add(DeliveryRow row) {
    std::string reason;
    // Delivered, failed or already waiting: an upload entered again after a restart is not run twice.
    if (const auto known = ledger_.Deliveries("", row.key, &reason))
        for (const DeliveryRow& d : *known)
            if (d.hook == row.hook) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const auto& t : tasks_)
            if (t->row.key == row.key && t->row.hook == row.hook) return;
    }
    row.state = "pending";
    row.createdUtc = row.updatedUtc = UtcIsoTime(wall_());
    Store(row);
    auto task = std::make_unique<Task>();
    task->row = std::move(row);
    task->dueMs = clock_.NowMs();
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
}

void HookDispatcher::Take(const CollectEvent& e) {
    const bool upload = EndsUpload(e.kind) && !e.key.empty();
    std::string payload, key = e.key;
    if (upload) {
        std::string reason;
        std::optional<UploadRow> row = ledger_.Row(e.key, &reason);
        if (!row) {
            // Not read back (the ledger is busy): what the event says stands in for the row.
            row.emplace();
            row->key = e.key;
            row->terminal = e.terminal;
            row->device = e.device;
            row->name = nameOf_(e.device);
            row->records = e.records;
            row->file = e.file;
            row->ended = e.time;
        }
        payload = UploadPayload(*row, CollectEventKey(e.kind), station_);
    } else {
        key = Ledger::NewKey(wall_());
        payload = EventPayload(e, nameOf_(e.device), station_);
    }
    for (const Hook& h : hooks_) {
        if (h.onUpload != upload) continue;
        DeliveryRow row;
        row.key = key;
        row.hook = h.program;
        row.event = CollectEventKey(e.kind);
        row.payload = payload;
        Add(std::move(row));
    }
}

void HookDispatcher::Start(Task& task, std::int64_t now) {
    std::string why;
    task.startedMs = now;
    std::unique_ptr<HookProcess> process =
        processes_.Start(task.row.hook, HookEnvironment(task.row.payload), task.row.payload, &why);
    if (!process) return End(task, now, std::nullopt, false, why);
    std::lock_guard<std::mutex> lock(mutex_);  // Running() looks from other threads
    task.process = std::move(process);
}

void HookDispatcher::End(Task& task, std::int64_t now, std::optional<int> exit, bool timedOut,
                         const std::string& why) {
    const std::string output = task.process ? task.process->Output() : std::string();
    const bool ok = Record(task.row, exit, timedOut, why, now - task.startedMs, output);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        task.process.reset();
    }
    task.row.updatedUtc = UtcIsoTime(wall_());
    if (ok) {
        task.row.state = "delivered";
        task.done = true;
    } else if (task.row.attempts >= options_.attempts) {
        task.row.state = "failed";
        task.done = true;
    } else {
        task.row.state = "pending";
        const int shift = std::min(task.row.attempts - 1, 20);
        task.dueMs = now + std::min(kLongestRetryMs, options_.firstRetryMs << shift);
    }
    Store(task.row);
    if (note_) note_(task.row);
}

void HookDispatcher::Pump() {
    std::deque<CollectEvent> events;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        events.swap(queue_);
    }
    for (const CollectEvent& e : events) Take(e);
    const std::int64_t now = clock_.NowMs();
    std::vector<Task*> tasks;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto& t : tasks_) tasks.push_back(t.get());
    }
    std::size_t running = 0;
    for (Task* t : tasks) {
        if (!t->process) continue;
        if (const std::optional<int> exit = t->process->Poll()) {
            End(*t, now, exit, false, "");
        } else if (now - t->startedMs >= options_.timeLimitMs) {
            t->process->Kill();
            End(*t, now, std::nullopt, true, "");
        } else {
            ++running;
        }
    }
    // In the order they came, as many at once as allowed.
    for (Task* t : tasks) {
        if (running >= options_.parallel) break;
        if (t->process || t->done || t->dueMs > now) continue;
        Start(*t, now);
        running += t->process != nullptr;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(tasks_, [](const auto& t) { return t->done; });
}

void HookDispatcher::Run(const StopFlag& stop, std::int64_t graceMs) {
    Resume();
    while (!stop.load()) {
        Pump();
        SleepUnlessStopped(clock_, kWaitSliceMs * 5, &stop, kWaitSliceMs);
    }
    // What the last uploads queued still starts; what is still running then gets a little time.
    Pump();
    const std::int64_t end = clock_.NowMs() + graceMs;
    while (Running() > 0 && clock_.NowMs() < end) {
        clock_.SleepUntil(clock_.NowMs() + kWaitSliceMs);
        Pump();
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& t : tasks_)
        if (t->process) t->process->Kill();  // left pending: the next start runs it again
}

}  // namespace k52
