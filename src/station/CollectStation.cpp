// Each port's loop: a receive that nobody answered is tried again after the interval, quietly; one that
// was answered is filed and entered in the ledger, whatever its end.
#include "station/CollectStation.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <set>

#include "i18n/Translate.h"
#include "transfer/RecordFile.h"
#include "transfer/TerminalLink.h"
#include "transfer/TerminalNames.h"
#include "util/LocalTime.h"
#include "util/Sha256.h"
#include "util/platform/System.h"

namespace k52 {
namespace {

// A waiting station must notice a stop within about a second, so long waits are cut into slices.
constexpr std::int64_t kStopSliceMs = 200;

// Nobody is there to read what the receive tells: the outcome keeps its notices for the ledger. An
// upload has begun once the terminal answered the request.
class UploadWatch : public TransferObserver {
  public:
    UploadWatch(std::function<void()> onAnswer, std::function<void(const TransferProgress&)> onProgress)
        : onAnswer_(std::move(onAnswer)), onProgress_(std::move(onProgress)) {}
    void OnProgress(const TransferProgress& progress) override {
        if (progress.phase != TransferPhase::Receiving) return;
        if (!answered) {
            answered = true;
            onAnswer_();
        }
        onProgress_(progress);
    }
    bool answered = false;

  private:
    std::function<void()> onAnswer_;
    std::function<void(const TransferProgress&)> onProgress_;
};

// A receive nobody answered that says nothing about the station: silence, a stop, a cable pulled.
bool Quiet(LinkFailure failure) {
    return failure == LinkFailure::NotReady || failure == LinkFailure::Cancelled ||
           failure == LinkFailure::LineLost;
}

UploadOutcome OutcomeOf(const TransferOutcome& o) {
    switch (o.failure) {
        case LinkFailure::None:
            return o.recordsStored > 0 ? UploadOutcome::Complete : UploadOutcome::Empty;
        case LinkFailure::Cancelled:
            return UploadOutcome::Interrupted;
        default:
            return UploadOutcome::Partial;
    }
}

CollectEventKind EventOf(UploadOutcome outcome) {
    switch (outcome) {
        case UploadOutcome::Complete:
            return CollectEventKind::Finished;
        case UploadOutcome::Partial:
            return CollectEventKind::Partial;
        case UploadOutcome::Interrupted:
            return CollectEventKind::Interrupted;
        case UploadOutcome::Empty:
            return CollectEventKind::Empty;
    }
    return CollectEventKind::Finished;
}

bool IsFile(const std::string& path) {
    return !path.empty() && platform::KindOf(path) == platform::PathKind::Regular;
}

}  // namespace

const char* CollectEventKey(CollectEventKind kind) {
    switch (kind) {
        case CollectEventKind::Started:
            return K52_EN("started");
        case CollectEventKind::Finished:
            return K52_EN("finished");
        case CollectEventKind::Partial:
            return K52_EN("partial");
        case CollectEventKind::Interrupted:
            return K52_EN("interrupted");
        case CollectEventKind::Empty:
            return K52_EN("empty");
        case CollectEventKind::PortGone:
            return K52_EN("port gone");
        case CollectEventKind::PortBack:
            return K52_EN("port back");
        case CollectEventKind::Problem:
            return K52_EN("problem");
    }
    return K52_EN("problem");
}

struct CollectStation::PortState {
    std::string terminal;
    bool gone = false;
    std::string lastProblem;  // said once until something else happens
};

CollectStation::CollectStation(std::string folder, std::int64_t intervalMs, const StopFlag& stop,
                               Ledger& ledger, CollectObserver& observer, WallClock wall, NoticeWords words)
    : folder_(std::move(folder)),
      intervalMs_(intervalMs),
      stop_(stop),
      ledger_(ledger),
      observer_(observer),
      wall_(std::move(wall)),
      words_(words ? std::move(words) : [](const Notice& n) { return std::string(NoticeCode(n.kind)); }) {}

void CollectStation::Serve(CollectPort& port, Clock& clock) {
    PortState state;
    state.terminal = TerminalName(port.device);
    while (!stop_.load()) {
        Poll(port, clock, state);
        if (stop_.load()) break;
        Wait(clock, intervalMs_);
    }
}

void CollectStation::Wait(Clock& clock, std::int64_t ms) {
    SleepUnlessStopped(clock, ms, &stop_, kStopSliceMs);
}

bool CollectStation::Poll(CollectPort& port, Clock& clock, PortState& state) {
    CollectEvent about;
    about.terminal = state.terminal;
    about.device = port.device;
    auto problem = [&](const std::string& message, const Notice* notice) {
        if (message == state.lastProblem) return;
        state.lastProblem = message;
        CollectEvent e = about;
        e.kind = CollectEventKind::Problem;
        e.message = message;
        if (notice) e.notice = *notice;
        Emit(std::move(e));
    };

    const std::string folder = folder_ + "/" + state.terminal;
    if (const platform::SysError made = platform::MakeDirectory(folder, 0777);
        made && made.number != EEXIST) {
        problem(Substitute(K52_EN("cannot create %1: %2"), {folder, std::strerror(made.number)}), nullptr);
        return false;
    }
    const std::time_t started = wall_();
    ReceiveRequest request;
    request.transport = port.transport;
    request.dataFile = folder + "/" + LocalFileStamp(started) + ".TXT";
    request.replace = false;  // an upload in the same second takes "-2": nothing is overwritten
    request.stop = &stop_;
    UploadWatch watch(
        [&] {
            CollectEvent e = about;
            e.kind = CollectEventKind::Started;
            e.time = LocalIsoTime(started);
            Emit(std::move(e));
        },
        [&](const TransferProgress& progress) { observer_.OnProgress(port.device, progress); });
    TerminalLink link(port.tmpl, *port.lines, clock);
    const TransferOutcome o = link.Receive(request, watch);

    const Notice* ending = o.Ending();
    if (o.failure == LinkFailure::PortOpen) {
        if (!state.gone) {
            state.gone = true;
            CollectEvent e = about;
            e.kind = CollectEventKind::PortGone;
            if (ending) {
                e.message = ending->reason;
                e.notice = *ending;
            }
            Emit(std::move(e));
        }
        return false;
    }
    if (state.gone) {
        state.gone = false;
        CollectEvent e = about;
        e.kind = CollectEventKind::PortBack;
        Emit(std::move(e));
    }
    if (!watch.answered) {
        // Silence, a stop, or a cable pulled before an answer: no upload began.
        if (!Quiet(o.failure))
            problem((ending ? words_(*ending) : std::string()) + (o.reason.empty() ? "" : ": " + o.reason),
                    ending);
        return false;
    }
    state.lastProblem.clear();

    UploadRow row;
    row.terminal = state.terminal;
    row.device = port.device;
    row.byId = port.byId;
    row.started = LocalIsoTime(started);
    row.ended = LocalIsoTime(wall_());
    row.records = o.recordsStored;
    const UploadOutcome outcome = OutcomeOf(o);
    row.outcome = UploadOutcomeKey(outcome);
    // The code and arguments for scripts, the words in the station's language beside them.
    if (ending) {
        row.code = NoticeCode(ending->kind);
        row.args = NoticeArgumentsJson(*ending);
        row.message = words_(*ending);
    }
    // A commit that failed leaves the records in the partial file: the ledger names that one.
    if (o.recordsStored > 0 && IsFile(o.dataFile)) {
        int error = 0;
        const std::optional<std::string> hash = FileSha256Hex(o.dataFile, &error);
        row.file = o.dataFile.substr(std::min(o.dataFile.size(), folder_.size() + 1));
        if (hash) row.sha256 = *hash;
    }
    Record(port, row, EventOf(outcome), ending);
    return true;
}

void CollectStation::Record(const CollectPort& port, const UploadRow& row, CollectEventKind kind,
                            const Notice* notice) {
    CollectEvent e;
    e.kind = kind;
    e.terminal = row.terminal;
    e.device = port.device;
    e.time = row.ended;
    e.records = row.records;
    e.file = row.file;
    e.message = row.message;
    if (notice) e.notice = *notice;
    std::string reason;
    std::lock_guard<std::mutex> lock(mutex_);
    // The file is renamed and synced by now: the row follows it, never the other way round.
    if (!ledger_.Add(row, &reason)) {
        CollectEvent failed = e;
        failed.kind = CollectEventKind::Problem;
        failed.message = Substitute(K52_EN("the ledger did not take this upload: %1"), {reason});
        observer_.OnEvent(failed);
    }
    observer_.OnEvent(e);
}

namespace {

constexpr std::string_view kPartialSuffix = ".partial";

bool EndsWith(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

}  // namespace

int CollectStation::Recover() {
    namespace fs = std::filesystem;
    std::string reason;
    const std::optional<std::vector<UploadRow>> rows = ledger_.List("", "", &reason);
    if (!rows) return 0;
    std::set<std::string> known;
    for (const UploadRow& r : *rows) known.insert(r.file);
    int added = 0;
    std::error_code ec;
    for (const fs::directory_entry& terminal : fs::directory_iterator(folder_, ec)) {
        if (!terminal.is_directory(ec)) continue;
        const std::string name = terminal.path().filename().string();
        std::vector<fs::path> entries;
        for (const fs::directory_entry& e : fs::directory_iterator(terminal.path(), ec))
            entries.push_back(e.path());
        std::sort(entries.begin(), entries.end());
        for (const fs::path& entry : entries) {
            std::string file = entry.string();
            const std::string leaf = entry.filename().string();
            std::string outcome = "partial";
            std::string message = K52_EN("found stored but not in the ledger after the station stopped");
            if (EndsWith(leaf, kPartialSuffix)) {
                // "<stamp>.TXT.<pid>.partial": its process is gone, or this would be a live upload.
                const auto txt = leaf.find(".TXT.");
                if (txt == std::string::npos ||
                    RecordFile::Leftovers(terminal.path() / leaf.substr(0, txt + 4)).empty())
                    continue;
                int error = 0;
                const std::optional<std::string> adopted =
                    RecordFile::Adopt(file, (terminal.path() / leaf.substr(0, txt + 4)).string(), &error);
                if (!adopted) continue;
                file = *adopted;
                outcome = UploadOutcomeKey(UploadOutcome::Interrupted);
                message = K52_EN("kept from an upload cut off when the station was stopped");
            } else if (!EndsWith(leaf, ".TXT")) {
                continue;
            }
            const std::string relative = name + "/" + fs::path(file).filename().string();
            if (known.count(relative) != 0) continue;
            UploadRow row;
            row.terminal = name;
            const auto modified = fs::last_write_time(file, ec);
            const std::time_t when =
                ec ? wall_()
                   : std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(modified));
            row.started = row.ended = LocalIsoTime(when);
            row.records = static_cast<int>(RecordFile::CountRecords(file));
            row.file = relative;
            if (const std::optional<std::string> hash = FileSha256Hex(file)) row.sha256 = *hash;
            row.outcome = outcome;
            row.message = message;
            CollectPort none;
            none.device = name;
            Record(none, row, CollectEventKind::Partial, nullptr);
            known.insert(relative);
            ++added;
        }
    }
    return added;
}

void CollectStation::Emit(CollectEvent event) {
    if (event.time.empty()) event.time = LocalIsoTime(wall_());
    std::lock_guard<std::mutex> lock(mutex_);
    observer_.OnEvent(event);
}

}  // namespace k52
