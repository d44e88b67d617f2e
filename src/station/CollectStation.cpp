// Each port's loop: a receive that nobody answered is tried again after the interval, quietly; one that
// was answered is a ledger row from the answer on, filed and its row completed whatever its end.
#include "station/CollectStation.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "i18n/Translate.h"
#include "station/Recovery.h"
#include "transfer/TerminalLink.h"
#include "transfer/TerminalNames.h"
#include "util/LocalTime.h"
#include "util/Sha256.h"
#include "util/platform/System.h"

namespace k52 {
namespace {

// A waiting station must notice a stop within about a second, so long waits are cut into slices.
constexpr std::int64_t kStopSliceMs = 200;
// A silence that lasts is said again once a day; the disk is looked at once a minute.
constexpr std::time_t kSilentRepeatS = 24 * 3600;
constexpr std::time_t kDiskEveryS = 60;
// The longest wait between two beats of a port's loop.
constexpr std::int64_t kBeatEveryMs = 1000;

std::optional<std::uintmax_t> FreeSpaceOf(const std::string& folder) {
    std::error_code ec;
    const std::filesystem::space_info space = std::filesystem::space(folder, ec);
    if (ec) return std::nullopt;
    return space.available;
}

// Nobody is there to read what the receive tells: the outcome keeps its notices for the ledger.
class UploadWatch : public TransferObserver {
  public:
    explicit UploadWatch(std::function<void(const TransferProgress&)> onProgress)
        : onProgress_(std::move(onProgress)) {}
    void OnProgress(const TransferProgress& progress) override {
        if (progress.phase == TransferPhase::Receiving) onProgress_(progress);
    }

  private:
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
        case UploadOutcome::Receiving:
            return CollectEventKind::Started;
    }
    return CollectEventKind::Finished;
}

CollectEventKind EventOf(const std::string& outcome) {
    for (const UploadOutcome o : {UploadOutcome::Complete, UploadOutcome::Partial, UploadOutcome::Interrupted,
                                  UploadOutcome::Empty, UploadOutcome::Receiving})
        if (outcome == UploadOutcomeKey(o)) return EventOf(o);
    return CollectEventKind::Partial;
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
        case CollectEventKind::PortBusy:
            return K52_EN("port busy");
        case CollectEventKind::PortFree:
            return K52_EN("port free");
        case CollectEventKind::Silent:
            return K52_EN("silent");
        case CollectEventKind::Back:
            return K52_EN("back");
        case CollectEventKind::DiskLow:
            return K52_EN("disk-low");
        case CollectEventKind::DiskOk:
            return K52_EN("disk-ok");
    }
    return K52_EN("problem");
}

const char* CollectEventMessageId(CollectEventKind kind) {
    switch (kind) {
        case CollectEventKind::Started:
            return "f2647fbf54eb48d3b36488ce32e861c7";
        case CollectEventKind::Finished:
            return "da6126876b0a4082ac1b49255da2ae15";
        case CollectEventKind::Partial:
            return "a9fceca34bcb478cbc7418fc8de25fbf";
        case CollectEventKind::Interrupted:
            return "cf6e91756d0d47d4842375f60a081959";
        case CollectEventKind::Empty:
            return "ee77cb51263347f2925844e274effe12";
        case CollectEventKind::PortGone:
            return "9de4f2f61fe94243941c1dd625e14abb";
        case CollectEventKind::PortBack:
            return "af67654ef492435ab59612884c00dc35";
        case CollectEventKind::Problem:
            return "fd6b6b774d2d47498fac2aba07898866";
        case CollectEventKind::PortBusy:
            return "6d1447d58b1444b891d2777940016b71";
        case CollectEventKind::PortFree:
            return "c23b3f338da448849d626707a0287916";
        case CollectEventKind::Silent:
            return "40e162e158994820bfe455ea0eb0c05e";
        case CollectEventKind::Back:
            return "d50489cc58bc45f89fadfe7a08b1efae";
        case CollectEventKind::DiskLow:
            return "2ca0af850a7a4606b4e92b1d17adddb0";
        case CollectEventKind::DiskOk:
            return "a08afb5ba4514beca5a7fbb3bb9f6176";
    }
    return "";
}

struct CollectStation::PortState {
    enum class Trouble { None, Gone, Busy };
    std::string terminal;
    Trouble trouble = Trouble::None;
    std::string lastProblem;  // said once until something else happens
    std::optional<StationLock> lock;
    bool servedElsewhere = false;
    std::string servedBy;        // the other station, as last said
    std::time_t lastHeard = 0;   // the terminal's last answer (or the station's start)
    std::time_t silentSaid = 0;  // when "silent" was last said; 0 while the terminal is heard
};

struct CollectStation::Upload {
    CollectEvent about;
    UploadRow row;
    bool begun = false;  // the terminal answered and the row was made
};

CollectStation::CollectStation(std::string folder, std::int64_t intervalMs, const StopFlag& stop,
                               Ledger& ledger, CollectObserver& observer, WallClock wall, NoticeWords words)
    : folder_(std::move(folder)),
      intervalMs_(intervalMs),
      stop_(stop),
      ledger_(ledger),
      observer_(observer),
      wall_(std::move(wall)),
      words_(words ? std::move(words) : [](const Notice& n) { return std::string(NoticeCode(n.kind)); }),
      journal_(ledger, [this](std::size_t waiting, const std::string& reason) {
          CollectEvent e;
          e.kind = CollectEventKind::Problem;
          e.time = LocalIsoTime(wall_());
          e.message = waiting == 0 ? std::string(K52_EN("every waiting row is in the ledger now"))
                                   : Substitute(K52_EN("%1 rows wait for the ledger: %2"),
                                                {std::to_string(waiting), reason});
          observer_.OnEvent(e);
      }) {}

void CollectStation::SetWatch(StationWatch watch) {
    watch_ = std::move(watch);
    if (!watch_.freeSpace) watch_.freeSpace = FreeSpaceOf;
}

bool CollectStation::TakeFolder(StationHolder* holder, std::string* reason) {
    if (folderLock_) return true;
    StationHolder self = watch_.self;
    if (self.folder.empty()) self.folder = folder_;
    folderLock_ = StationLock::Take(FolderLockPath(folder_), self, holder, reason);
    return folderLock_.has_value();
}

void CollectStation::Serve(CollectPort& port, Clock& clock) {
    PortState state;
    state.terminal = TerminalName(port.device);
    state.lastHeard = wall_();
    {
        // A terminal's silence runs from its last upload, across restarts of the station.
        std::lock_guard<std::mutex> lock(mutex_);
        std::string reason;
        std::optional<std::time_t> last;
        if (const auto rows = ledger_.List("", state.terminal, &reason))
            for (const UploadRow& r : *rows)
                if (const auto t = ParseInstant(r.endedUtc.empty() ? r.startedUtc : r.endedUtc))
                    last = std::max(last.value_or(*t), *t);
        if (last) state.lastHeard = std::min(state.lastHeard, *last);
    }
    while (!stop_.load() && !failed_.load()) {
        Beat(port.device);
        if (HoldPort(port, state)) {
            const bool answered = Poll(port, clock, state);
            WatchTerminal(port, state, answered);
            WatchDisk();
        }
        if (stop_.load() || failed_.load()) break;
        Wait(clock, intervalMs_, port.device);
    }
    {
        std::lock_guard<std::mutex> lock(watchMutex_);
        beats_.erase(port.device);
    }
    Flush();
}

bool CollectStation::HoldPort(const CollectPort& port, PortState& state) {
    if (watch_.lockDir.empty() || state.lock) return true;
    StationHolder holder, self = watch_.self;
    if (self.folder.empty()) self.folder = folder_;
    std::string reason;
    state.lock = StationLock::Take(PortLockPath(watch_.lockDir, port.device), self, &holder, &reason);
    CollectEvent e;
    e.terminal = state.terminal;
    e.device = port.device;
    if (state.lock) {
        if (!state.servedElsewhere) return true;
        state.servedElsewhere = false;
        state.servedBy.clear();
        e.kind = CollectEventKind::PortFree;
        Emit(std::move(e));
        return true;
    }
    if (!reason.empty()) {
        // A lock that cannot be made must not stop the collecting: the port is served without it.
        if (reason != state.lastProblem) {
            state.lastProblem = reason;
            e.kind = CollectEventKind::Problem;
            e.message = Substitute(K52_EN("the port's lock cannot be taken: %1"), {reason});
            Emit(std::move(e));
        }
        return true;
    }
    const std::string who = HolderText(holder);
    if (state.servedElsewhere && who == state.servedBy) return false;
    state.servedElsewhere = true;
    state.servedBy = who;
    e.kind = CollectEventKind::PortBusy;
    e.message = Substitute(K52_EN("served by another station (%1); left alone"), {who});
    e.servedBy = holder;
    Emit(std::move(e));
    return false;
}

void CollectStation::WatchTerminal(const CollectPort& port, PortState& state, bool answered) {
    const std::time_t now = wall_();
    CollectEvent e;
    e.terminal = state.terminal;
    e.device = port.device;
    if (answered) {
        const bool wasSilent = state.silentSaid != 0;
        state.lastHeard = now;
        state.silentSaid = 0;
        if (!wasSilent) return;
        e.kind = CollectEventKind::Back;
        Emit(std::move(e));
        return;
    }
    const std::int64_t after = port.silentAfterS.value_or(watch_.silentAfterS);
    if (after <= 0 || now - state.lastHeard < after) return;
    if (state.silentSaid != 0 && now - state.silentSaid < kSilentRepeatS) return;
    state.silentSaid = now;
    e.kind = CollectEventKind::Silent;
    e.message = Substitute(K52_EN("not heard from since %1"), {LocalIsoTime(state.lastHeard)});
    Emit(std::move(e));
}

void CollectStation::WatchDisk() {
    if (watch_.diskLowBytes == 0) return;
    CollectEvent e;
    {
        std::lock_guard<std::mutex> lock(watchMutex_);
        const std::time_t now = wall_();
        if (diskCheckedAt_ != 0 && now - diskCheckedAt_ < kDiskEveryS) return;
        diskCheckedAt_ = now;
        const std::optional<std::uintmax_t> free = watch_.freeSpace(folder_);
        if (!free) return;
        const bool low = *free < watch_.diskLowBytes;
        if (low == diskLow_) return;
        diskLow_ = low;
        e.kind = low ? CollectEventKind::DiskLow : CollectEventKind::DiskOk;
        e.message = Substitute(K52_EN("%1 bytes free in %2"), {std::to_string(*free), folder_});
    }
    Emit(std::move(e));
}

void CollectStation::Beat(const std::string& device) {
    std::lock_guard<std::mutex> lock(watchMutex_);
    beats_[device] = wall_();
}

std::optional<std::string> CollectStation::Stalled(std::int64_t limitS) {
    std::lock_guard<std::mutex> lock(watchMutex_);
    const std::time_t now = wall_();
    for (const auto& [device, beat] : beats_)
        if (now - beat > limitS) return device;
    return std::nullopt;
}

bool CollectStation::Flush() {
    std::lock_guard<std::mutex> lock(mutex_);
    return journal_.Flush();
}

std::size_t CollectStation::WaitingRows() {
    std::lock_guard<std::mutex> lock(mutex_);
    return journal_.Waiting();
}

void CollectStation::Wait(Clock& clock, std::int64_t ms, const std::string& device) {
    // A long interval still beats, so that a watchdog tells a waiting port from a hung one.
    for (std::int64_t left = ms; left > 0 && !stop_.load(); left -= kBeatEveryMs) {
        if (!SleepUnlessStopped(clock, std::min(left, kBeatEveryMs), &stop_, kStopSliceMs)) break;
        Beat(device);
    }
}

std::string CollectStation::Relative(const std::string& path) const {
    return path.substr(std::min(path.size(), folder_.size() + 1));
}

std::string CollectStation::Words(const Notice& notice) const {
    std::string text = words_(notice);
    // The system's reason ("No space left on device") is said too, whatever the words hold already.
    if (!notice.reason.empty() && text.find(notice.reason) == std::string::npos)
        text += (text.empty() ? "" : ": ") + notice.reason;
    return text;
}

void CollectStation::FailLocked(const CollectEvent& about, const std::string& reason) {
    failed_.store(true);
    CollectEvent e = about;
    e.kind = CollectEventKind::Problem;
    e.time = LocalIsoTime(wall_());
    e.message = Substitute(K52_EN("the ledger cannot be kept, the station stops: %1"), {reason});
    observer_.OnEvent(e);
}

bool CollectStation::MakeTerminalFolder(const std::string& folder, const CollectEvent& about,
                                        PortState& state) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        journal_.Flush();
        std::string reason;
        if (!journal_.EnsureInPlace(&reason)) {
            if (!failed_.load()) FailLocked(about, reason);
            return false;
        }
    }
    const platform::SysError made = platform::MakeDirectory(folder, 0777);
    if (!made || made.number == EEXIST) return true;
    const std::string message =
        Substitute(K52_EN("cannot create %1: %2"), {folder, std::strerror(made.number)});
    if (message == state.lastProblem) return false;
    state.lastProblem = message;
    CollectEvent e = about;
    e.kind = CollectEventKind::Problem;
    e.message = message;
    Emit(std::move(e));
    return false;
}

bool CollectStation::Poll(CollectPort& port, Clock& clock, PortState& state) {
    Upload up;
    up.about.terminal = state.terminal;
    up.about.device = port.device;
    const std::string folder = folder_ + "/" + state.terminal;
    if (!MakeTerminalFolder(folder, up.about, state)) return false;
    const std::time_t started = wall_();
    up.row.key = up.about.key = Ledger::NewKey(started);
    up.row.terminal = state.terminal;
    up.row.device = port.device;
    up.row.byId = port.byId;
    up.row.name = port.name;
    up.row.started = LocalIsoTime(started);
    up.row.startedUtc = UtcIsoTime(started);
    ReceiveRequest request;
    request.transport = port.transport;
    request.dataFile = folder + "/" + LocalFileStamp(started) + ".TXT";
    request.replace = false;  // an upload in the same second takes "-2": nothing is overwritten
    request.stop = &stop_;
    request.waitSliceMs = kStopSliceMs;  // a stop is seen as soon as between requests
    request.answered = [&](const std::string& partial) { return Begin(up, partial); };
    UploadWatch watch([&](const TransferProgress& progress) {
        Beat(port.device);
        observer_.OnProgress(port.device, progress);
    });
    TerminalLink link(port.tmpl, *port.lines, clock);
    const TransferOutcome o = link.Receive(request, watch);
    if (!NotePort(port, state, o, up.about)) return false;
    if (!up.begun) {
        // Silence, a stop, or a cable pulled before an answer: no upload began.
        const Notice* ending = o.Ending();
        const std::string message =
            (ending ? Words(*ending) : std::string()) +
            (o.reason.empty() || (ending && ending->reason == o.reason) ? "" : ": " + o.reason);
        if (!Quiet(o.failure) && !failed_.load() && message != state.lastProblem) {
            state.lastProblem = message;
            CollectEvent e = up.about;
            e.kind = CollectEventKind::Problem;
            e.message = message;
            if (ending) e.notice = *ending;
            Emit(std::move(e));
        }
        return false;
    }
    state.lastProblem.clear();
    Finish(up, o);
    return true;
}

bool CollectStation::NotePort(const CollectPort& port, PortState& state, const TransferOutcome& o,
                              const CollectEvent& about) {
    using Trouble = PortState::Trouble;
    CollectEvent e = about;
    if (o.failure == LinkFailure::PortOpen) {
        // A device still there that will not open is held by another program; one that is gone is gone.
        const Trouble now = platform::EntryExists(port.device) ? Trouble::Busy : Trouble::Gone;
        if (state.trouble == now) return false;
        state.trouble = now;
        e.kind = now == Trouble::Busy ? CollectEventKind::PortBusy : CollectEventKind::PortGone;
        if (const Notice* ending = o.Ending()) {
            e.message = ending->reason;
            e.notice = *ending;
        }
        Emit(std::move(e));
        return false;
    }
    if (state.trouble == Trouble::None) return true;
    e.kind = state.trouble == Trouble::Busy ? CollectEventKind::PortFree : CollectEventKind::PortBack;
    state.trouble = Trouble::None;
    Emit(std::move(e));
    return true;
}

bool CollectStation::Begin(Upload& up, const std::string& partial) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string reason;
    // Nothing is acknowledged that the ledger could not enter.
    if (!journal_.EnsureInPlace(&reason)) {
        FailLocked(up.about, reason);
        return false;
    }
    up.row.partial = Relative(partial);
    if (const auto id = platform::IdentityOf(partial)) up.row.fileId = FileIdText(*id);
    up.row.outcome = UploadOutcomeKey(UploadOutcome::Receiving);
    journal_.Put(up.row);
    up.begun = true;
    CollectEvent e = up.about;
    e.kind = CollectEventKind::Started;
    e.time = up.row.started;
    observer_.OnEvent(e);
    return true;
}

void CollectStation::Finish(Upload& up, const TransferOutcome& o) {
    UploadRow& row = up.row;
    const std::time_t ended = wall_();
    row.ended = LocalIsoTime(ended);
    row.endedUtc = UtcIsoTime(ended);
    row.records = o.recordsStored;
    // The last acknowledgement of a receive cut off may not have reached the terminal.
    row.acknowledged = o.lastMayComeAgain ? std::max(0, o.recordsStored - 1) : o.recordsStored;
    const UploadOutcome outcome = OutcomeOf(o);
    row.outcome = UploadOutcomeKey(outcome);
    const Notice* ending = o.Ending();
    // The code and arguments for scripts, the words in the station's language beside them.
    if (ending) {
        row.code = NoticeCode(ending->kind);
        row.args = NoticeArgumentsJson(*ending);
        row.message = Words(*ending);
    }
    // A commit that failed leaves the records in the partial file or under their name: the row names
    // where they are, and recovery finishes what the commit left.
    if (o.recordsStored > 0 && IsFile(o.dataFile)) {
        row.file = Relative(o.dataFile);
        if (const std::optional<std::string> hash = FileSha256Hex(o.dataFile)) row.sha256 = *hash;
    }
    CollectEvent e = up.about;
    e.kind = EventOf(outcome);
    e.time = row.ended;
    e.records = row.records;
    e.file = row.file;
    e.message = row.message;
    if (ending) e.notice = *ending;
    std::lock_guard<std::mutex> lock(mutex_);
    // The file is renamed and its folder synced by now: the row follows it, never the other way round.
    journal_.Put(row, [this, e] { observer_.OnEvent(e); });
}

int CollectStation::Recover() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string reason;
    const std::optional<std::vector<UploadRow>> rows = ledger_.List("", "", &reason);
    if (!rows) {
        CollectEvent e;
        e.kind = CollectEventKind::Problem;
        e.time = LocalIsoTime(wall_());
        e.message = Substitute(K52_EN("the ledger could not be read for recovery: %1"), {reason});
        observer_.OnEvent(e);
        return 0;
    }
    Recovery recovery(folder_, journal_, wall_, [this](const UploadRow& r) {
        // The line says what the row says.
        CollectEvent e;
        e.kind = EventOf(r.outcome);
        e.terminal = r.terminal;
        e.device = r.device;
        e.time = r.ended;
        e.key = r.key;
        e.records = r.records;
        e.file = r.file;
        e.message = r.message;
        observer_.OnEvent(e);
    });
    return recovery.Run(*rows);
}

void CollectStation::Emit(CollectEvent event) {
    if (event.time.empty()) event.time = LocalIsoTime(wall_());
    std::lock_guard<std::mutex> lock(mutex_);
    observer_.OnEvent(event);
}

}  // namespace k52
