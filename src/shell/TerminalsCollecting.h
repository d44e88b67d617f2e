// The Terminals window's collection station: its ledger, the rows it serves and the runner (a thread per
// row).
// Private to the window's two source files.
#pragma once

#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "app/ProgressThrottle.h"
#include "shell/TerminalsWindow.h"
#include "station/CollectStation.h"
#include "station/Ledger.h"
#include "station/StationRunner.h"

namespace k52 {

// Progress reaches the window at most this often per row: eight terminals never flood its thread.
inline constexpr std::int64_t kProgressEveryMs = 40;

// What the station says reaches the window's thread without waiting for it.
struct TerminalsWindow::Collecting : CollectObserver {
    Collecting(TerminalsWindow* w, std::string folder, Ledger l, LineMaker lines);
    // Stops the station and waits for every row's thread.
    ~Collecting() override;

    void OnEvent(const CollectEvent& event) override;
    void OnProgress(const std::string& device, const TransferProgress& p) override;

    TerminalsWindow* window;
    StopFlag stop{false};
    Ledger ledger;
    CollectStation station;
    std::map<std::string, std::size_t> rows;  // by device; settled before the threads start
    std::set<std::size_t> serving;            // rows whose thread has not ended yet
    StationRunner runner;
    std::mutex mutex;
    std::map<std::string, ProgressThrottle> lastProgress;
};

}  // namespace k52
