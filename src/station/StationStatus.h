// What a running station is doing, for the people and programs that watch it: a JSON status file
// (replaced whole, on every event and at most once a second while an upload runs) and a metrics file in
// the Prometheus text format (timestamps, not time since). It stands between the station and the front
// end's observer, which it tells everything it is told.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "station/CollectStation.h"
#include "station/Ledger.h"

namespace k52 {

struct StationInfo {
    std::string version;  // "k52cli 1.0 (commit ...)"
    std::string host;
    std::string folder;
    std::string stationId;
    unsigned long pid = 0;
    std::time_t started = 0;
};

// One port as the status file shows it.
struct PortStatus {
    std::string device, name, terminal;
    std::string state = "waiting";  // waiting, receiving, busy, gone, served-elsewhere
    int receiving = 0;              // records so far while receiving
    std::string servedBy;           // served-elsewhere: which station
    std::string lastUploadTime, lastUploadOutcome, lastUploadKey, lastUploadFile;
    int lastUploadRecords = -1;   // -1: no upload yet
    std::time_t lastSuccess = 0;  // the last complete or empty upload; 0: none
    std::string lastError, lastErrorTime;
    std::string silentSince;  // while silent: since when (the event's words)
};

class StationStatus : public CollectObserver {
  public:
    struct Files {
        std::string status;   // empty: none written
        std::string metrics;  // empty: none written
    };
    using FreeSpace = std::function<std::optional<std::uintmax_t>(const std::string& folder)>;

    StationStatus(StationInfo info, Files files, CollectObserver& next, CollectStation::WallClock wall,
                  FreeSpace freeSpace = {});

    // A port the station serves (shown waiting until it says otherwise).
    void AddPort(const CollectPort& port);
    // The ledger's rows at the start: each terminal's counters and last upload carry across restarts.
    void Seed(const std::vector<UploadRow>& rows);
    // A number another part of the station keeps (deliveries pending, uploads waiting for the central
    // store): a gauge "k52_<name>" in the metrics and "<name>" in the status file's "station" object.
    void SetGauge(const std::string& name, const std::string& help, double value);
    // A text beside the gauges in the status file's "station" object (the central store's last error);
    // empty leaves it out.
    void SetNote(const std::string& name, const std::string& text);

    void OnEvent(const CollectEvent& event) override;
    void OnProgress(const std::string& device, const TransferProgress& progress) override;

    std::string StatusJson();
    std::string MetricsText();
    // Both files now; false with the reason of the first that failed.
    bool Write(std::string* reason = nullptr);

    // What this run did, for the line at its end: uploads by outcome and their records.
    struct RunCounts {
        std::map<std::string, int> uploads, records;
    };
    RunCounts ThisRun();
    // "3 ports; last upload ttyUSB0 at ..., 12 records": the service manager's status line.
    std::string Summary();
    std::vector<PortStatus> Ports();

  private:
    struct Counts {
        std::map<std::string, std::uint64_t> uploads, records;  // by outcome
        std::time_t lastSuccess = 0;
    };
    PortStatus& PortLocked(const std::string& device, const std::string& terminal);
    void Apply(const CollectEvent& e);
    bool WriteLocked(std::string* reason);
    std::string StatusJsonLocked();
    std::string MetricsTextLocked();

    StationInfo info_;
    Files files_;
    CollectObserver& next_;
    CollectStation::WallClock wall_;
    FreeSpace freeSpace_;
    std::mutex mutex_;
    std::vector<PortStatus> ports_;         // in the order served
    std::map<std::string, Counts> counts_;  // by terminal
    RunCounts run_;
    std::map<std::string, std::pair<std::string, double>> gauges_;  // name -> help, value
    std::map<std::string, std::string> notes_;
    bool diskLow_ = false;
    std::string lastError_;
    std::time_t lastWrite_ = 0;
};

}  // namespace k52
