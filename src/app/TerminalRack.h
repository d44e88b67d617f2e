// The Terminals window's rows without a window: one per port a person expects, following the hardware,
// each with its transfer's state and last result, and the rules for starting, cancelling and retrying.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ServedPorts.h"
#include "app/TerminalJob.h"
#include "ports/PortDiscovery.h"
#include "ports/PortResolver.h"
#include "station/CollectStation.h"

namespace k52 {

// What one look at the host saw: each COMn's device and the adapters plugged in now.
struct RackScan {
    std::array<ComPortResolution, kComPortCount> comPorts;
    std::vector<DiscoveredPort> adapters;
};

// Resolves COM1..COM6 (environment, then the user's file) and lists the host's ports. It may take a
// while, so a window calls it off its GUI thread.
RackScan ScanRack(PortScanner& scanner);

enum class RowState { Idle, Running, Done, Failed, Cancelled };

struct RackRow {
    std::string name;  // "COM1", or the adapter's description
    std::string device;
    std::optional<int> comPort;
    bool present = false;
    bool cradle = false;  // through the infrared cradle
    RowState state = RowState::Idle;
    JobKind kind = JobKind::Program;  // of the transfer running or last run
    TransferProgress progress;
    int percent = -1;  // -1 while the total is not known
    double bytesPerSecond = 0;
    std::string result;  // the last result, for people
    std::string file;    // where a finished receive put its records
    std::optional<JobResult> last;
    std::int64_t startedMs = 0;
    std::unique_ptr<StopFlag> stop = std::make_unique<StopFlag>(false);
    std::optional<TerminalJob> job;  // what Retry runs again

    // While the collection station serves the row's port: no other transfer starts on it.
    bool collecting = false;
    bool uploading = false;  // an upload is under way; `progress` counts its records
    std::optional<CollectEvent> lastUpload;
    // Another station (a service) serves the port: this desk starts nothing on it and shows that one's.
    std::optional<ServedPort> served;
};

struct RackSummary {
    int done = 0, failed = 0, running = 0, collecting = 0;
    int served = 0;  // by another station
};

// Receive into a folder: each row's file, and those that stand already (to be listed in one question
// before anything starts).
struct ReceivePlan {
    std::vector<std::string> files;
    std::vector<std::string> existing;
    // Two rows whose records would go to one file; empty when none do.
    std::string collision;
};

class TerminalRack {
  public:
    // The cradle choice remembered for a device, asked when its row appears.
    std::function<bool(const std::string& device)> rememberedCradle;

    // New ports get rows at the end (a row's index never changes); a port that went away stays, marked
    // absent. True when anything shown changed.
    bool Update(const RackScan& scan);

    const std::vector<RackRow>& rows() const { return rows_; }
    void SetCradle(std::size_t row, bool cradle) { rows_.at(row).cradle = cradle; }

    // `rows`' files in `folder` by k52cli's rule, and which of them exist already.
    ReceivePlan PlanReceive(const std::string& folder, const std::vector<std::size_t>& rows) const;

    // Marks the row running and returns its job; nullopt while it runs already. `file`: the lookup file
    // sent, or the data file written.
    std::optional<TerminalJob> Start(std::size_t row, JobKind kind, const std::string& file, bool overwrite,
                                     std::int64_t nowMs);
    // The failed row's last job again; nullopt when it did not fail. A receive never replaces a file
    // then: it may hold what the failed run acknowledged.
    std::optional<TerminalJob> Retry(std::size_t row, std::int64_t nowMs);
    void Progress(std::size_t row, const TransferProgress& progress, std::int64_t nowMs);
    // What the row's transfer says now ("TITLE: TEXT"), shown as its result until it ends.
    void Said(std::size_t row, const std::string& line);
    void Finish(std::size_t row, const JobResult& result);
    // Ends the row's transfer (or every row's) at its next safe point; Finish follows.
    void Cancel(std::size_t row) { rows_.at(row).stop->store(true); }
    void CancelAll();

    // Marks the row collecting and returns its port for the station (the window adds the line and the
    // template); nullopt while a transfer runs on it or it collects already.
    std::optional<CollectPort> StartCollecting(std::size_t row);
    // What the station said about the row's port; the row's result shows the last upload or problem.
    void Collected(std::size_t row, const CollectEvent& event);
    void CollectProgress(std::size_t row, const TransferProgress& progress);
    void CollectingEnded(std::size_t row);
    bool AnyCollecting() const;
    // What another station serves now, a row each (nullopt: none); true when anything shown changed.
    bool SetServed(const std::vector<std::optional<ServedPort>>& served);

    std::vector<std::size_t> FailedRows() const;
    bool AnyRunning() const { return Summary().running > 0; }
    RackSummary Summary() const;

  private:
    std::vector<RackRow> rows_;
};

// The row's phase as a person reads it ("Sending program 12/40", "Waiting for an upload"); empty while idle.
std::string RowStateText(const RackRow& row);
// "Done", or the failure with its reason (not connected, busy, no reply...), in the chosen language.
std::string RowResultText(const JobResult& result);

}  // namespace k52
