// The collection station's runner: a thread per served port, the discovery loop that serves every port
// the host shows (and those plugged in later), and the end once the station's stop is set. k52cli's
// collect and the Terminals window both run their station through it.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "line/Clock.h"
#include "line/SerialLine.h"
#include "ports/PortDiscovery.h"
#include "station/CollectStation.h"

namespace k52 {

// What a served port talks through: its line factory and the clock its waits run on.
struct PortLine {
    std::unique_ptr<LineFactory> lines;
    std::unique_ptr<Clock> clock;
};
using LineMaker = std::function<PortLine(const CollectPort& port)>;

// The system's lines: the port's own device, or its COMn through the resolver, on the monotonic clock.
PortLine SystemPortLine(const CollectPort& port, bool byComPort);

class StationRunner {
  public:
    // `stop` is the station's own: once set, every port's thread ends at its next safe point.
    StationRunner(CollectStation& station, const StopFlag& stop, LineMaker lines);
    // Waits for every port's thread.
    ~StationRunner();
    StationRunner(const StationRunner&) = delete;
    StationRunner& operator=(const StationRunner&) = delete;

    // Serves `port` on a thread of its own; `ended` is called on that thread once it stops. Whatever a
    // killed station left gets its rows first, once, before any port is served.
    void Serve(CollectPort port, std::function<void()> ended = {});
    // Serves every port `scanner` lists now and every one it lists later, each by its stable name (a
    // pulled adapter stays served and is taken up again when it is back), looking every `intervalMs`
    // on `clock` until the stop (or until the station fails). On the calling thread. `nameOf` gives a
    // port found its given name.
    void ServeDiscovered(PortScanner& scanner, std::int64_t intervalMs, Clock& clock,
                         const std::function<std::string(const std::string& device)>& nameOf = {});
    // One look: serves the ports `scanner` lists that are not served yet. For a front end that runs its
    // own loop (a service that also pings its watchdog).
    void ServeNew(PortScanner& scanner,
                  const std::function<std::string(const std::string& device)>& nameOf = {});
    // Told of each port as it is taken up, before its thread starts.
    std::function<void(const CollectPort& port)> serving;
    // Waits for every port's thread to end (they end once the stop is set).
    void Join();

  private:
    CollectStation& station_;
    const StopFlag& stop_;
    LineMaker lines_;
    std::once_flag recovered_;
    std::vector<std::thread> threads_;
    std::set<std::string> served_;
};

}  // namespace k52
