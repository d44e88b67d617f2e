// The collection station: on each port it asks for an upload again and again, files each upload under
// the terminal's name and the time it began, and keeps its row in the ledger from the terminal's answer
// to the upload's end.
#pragma once

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include <optional>

#include "line/Clock.h"
#include "line/SerialLine.h"
#include "station/Journal.h"
#include "station/Ledger.h"
#include "station/StationLock.h"
#include "template/Template.h"
#include "transfer/Notice.h"
#include "transfer/TransferProgress.h"
#include "transfer/TransferRequest.h"

namespace k52 {

// A port that will not open is "gone" when its device is no longer there, "busy" when it is (another
// program holds it); "back" and "free" end each.
enum class CollectEventKind {
    Started,
    Finished,
    Partial,
    Interrupted,
    Empty,
    PortGone,
    PortBack,
    Problem,
    PortBusy,
    PortFree,
    // A terminal not heard from for the port's silent time (said again each day it lasts), and heard again.
    Silent,
    Back,
    // The folder's disk below its free-space threshold, and above it again.
    DiskLow,
    DiskOk,
};

// "started", "finished", ...: the event's name in k52cli's lines and JSON.
const char* CollectEventKey(CollectEventKind kind);

// The event's MESSAGE_ID in the system journal: 32 hex digits, one per kind, never changed once given
// (journalctl MESSAGE_ID=... filters on it).
const char* CollectEventMessageId(CollectEventKind kind);

struct CollectEvent {
    CollectEventKind kind = CollectEventKind::Started;
    std::string terminal;
    std::string device;
    std::string time;  // ISO 8601 with the UTC offset
    std::string key;   // the upload's key in the ledger, once it has one
    int records = 0;
    std::string file;                       // relative to the folder, once there is one
    std::string message;                    // what the receive said at its end, or what went wrong, in words
    std::optional<Notice> notice;           // the receive's notice behind the message, when there is one
    std::optional<StationHolder> servedBy;  // port busy: the other station that serves the port
};

// Called from each port's thread; an implementation that prints must serialise its lines.
class CollectObserver {
  public:
    virtual ~CollectObserver() = default;
    virtual void OnEvent(const CollectEvent& event) = 0;
    // How far the upload on `device` has come, for a front end that shows it.
    virtual void OnProgress(const std::string& /*device*/, const TransferProgress& /*progress*/) {}
};

struct CollectPort {
    std::string device;          // as named: it names the terminal's folder and stands in the ledger
    std::string name;            // the port's given name ("Cradle A, aisle 3"); empty when it has none
    std::string byId;            // the stable name, when the device has one
    std::optional<int> comPort;  // named as COMn (0 = COM1): its device comes through the resolver
    LineFactory* lines = nullptr;
    ApplicationTemplate tmpl{};  // the port number and speed to use
    Transport transport = Transport::Direct;
    std::optional<std::int64_t> silentAfterS;  // this port's silent time, when not the station's
};

// What the station watches beside the uploads, and the locks it takes; all off by default.
struct StationWatch {
    std::int64_t silentAfterS = 0;    // a terminal not heard from this long is "silent"; 0: never
    std::uintmax_t diskLowBytes = 0;  // below this much free space the disk is "low"; 0: never
    // The free space of the folder's disk; nullopt when it cannot be told.
    std::function<std::optional<std::uintmax_t>(const std::string& folder)> freeSpace;
    std::string lockDir;  // a lock per port is taken here; empty: none
    StationHolder self;   // what this station's locks say about it
};

class CollectStation {
  public:
    // Seconds since the epoch for file names and the ledger; tests follow their virtual clock.
    using WallClock = std::function<std::time_t()>;
    // A notice in the words the ledger keeps beside its code (the front end's language).
    using NoticeWords = std::function<std::string(const Notice&)>;

    CollectStation(std::string folder, std::int64_t intervalMs, const StopFlag& stop, Ledger& ledger,
                   CollectObserver& observer, WallClock wall, NoticeWords words = {});

    // Before serving: what to watch and where the port locks go.
    void SetWatch(StationWatch watch);
    // Takes the folder's lock for the station's life; false when another station holds it (`holder`)
    // or it cannot be taken (`reason`). Recovery must not run in a folder another station serves.
    bool TakeFolder(StationHolder* holder, std::string* reason);
    // The port whose loop has not come round for `limitS` seconds (a hung line); nullopt while all do.
    std::optional<std::string> Stalled(std::int64_t limitS);

    // Serves one port on the calling thread until the stop flag is set; `clock` times its waits.
    void Serve(CollectPort& port, Clock& clock);
    // Before serving: what a station that was killed left behind is put right from the ledger (see
    // station/Recovery.h), so that the ledger and the folder agree again. Returns the rows written.
    int Recover();

    // Tries the rows that wait for the ledger once more; true when none waits.
    bool Flush();
    std::size_t WaitingRows();
    // The station stopped on its own: its folder or ledger went away and could not be made again.
    bool Failed() const { return failed_.load(); }

  private:
    struct PortState;
    struct Upload;
    // True when the terminal answered (an upload ran, whatever its end).
    bool Poll(CollectPort& port, Clock& clock, PortState& state);
    bool MakeTerminalFolder(const std::string& folder, const CollectEvent& about, PortState& state);
    // The port's trouble said once, and its end; false when the port did not open.
    bool NotePort(const CollectPort& port, PortState& state, const TransferOutcome& o,
                  const CollectEvent& about);
    // At the terminal's answer, before any acknowledgement: the row "receiving". False refuses.
    bool Begin(Upload& upload, const std::string& partial);
    void Finish(Upload& upload, const TransferOutcome& o);
    std::string Words(const Notice& notice) const;
    std::string Relative(const std::string& path) const;
    // Stops the station with the reason said; with the lock held.
    void FailLocked(const CollectEvent& about, const std::string& reason);
    void Emit(CollectEvent event);
    void Wait(Clock& clock, std::int64_t ms, const std::string& device);
    // The port's lock, taken once it is free; false while another station serves the port.
    bool HoldPort(const CollectPort& port, PortState& state);
    // After each round: "silent" and "back" for the terminal, "disk low" and "ok" for the folder.
    void WatchTerminal(const CollectPort& port, PortState& state, bool answered);
    void WatchDisk();
    void Beat(const std::string& device);

    std::string folder_;
    std::int64_t intervalMs_;
    const StopFlag& stop_;
    Ledger& ledger_;
    CollectObserver& observer_;
    WallClock wall_;
    NoticeWords words_;
    std::mutex mutex_;  // the ledger, its journal and the observer, shared by the ports' threads
    Journal journal_;
    std::atomic<bool> failed_{false};
    StationWatch watch_;
    std::optional<StationLock> folderLock_;
    std::mutex watchMutex_;  // the disk's state and the ports' beats
    std::time_t diskCheckedAt_ = 0;
    bool diskLow_ = false;
    std::map<std::string, std::time_t> beats_;
};

}  // namespace k52
