// A thread per port, and the loop that finds the ports.
#include "station/StationRunner.h"

#include "template/Defaults.h"

namespace k52 {

// A waiting discovery loop notices a stop within this long.
constexpr std::int64_t kStopSliceMs = 200;

PortLine SystemPortLine(const CollectPort& port, bool byComPort) {
    PortLine line;
    line.lines =
        byComPort ? std::make_unique<SystemLineFactory>() : std::make_unique<SystemLineFactory>(port.device);
    line.clock = std::make_unique<MonotonicClock>();
    return line;
}

StationRunner::StationRunner(CollectStation& station, const StopFlag& stop, LineMaker lines)
    : station_(station), stop_(stop), lines_(std::move(lines)) {}

StationRunner::~StationRunner() {
    Join();
}

void StationRunner::Serve(CollectPort port, std::function<void()> ended) {
    served_.insert(port.device);
    if (serving) serving(port);
    threads_.emplace_back([this, port = std::move(port), ended = std::move(ended)]() mutable {
        std::call_once(recovered_, [this] { station_.Recover(); });
        PortLine line = lines_(port);
        port.lines = line.lines.get();
        station_.Serve(port, *line.clock);
        if (ended) ended();
    });
}

void StationRunner::ServeDiscovered(PortScanner& scanner, std::int64_t intervalMs, Clock& clock,
                                    const std::function<std::string(const std::string& device)>& nameOf) {
    while (!stop_.load() && !station_.Failed()) {
        ServeNew(scanner, nameOf);
        SleepUnlessStopped(clock, intervalMs, &stop_, kStopSliceMs);
    }
}

void StationRunner::ServeNew(PortScanner& scanner,
                             const std::function<std::string(const std::string& device)>& nameOf) {
    for (const DiscoveredPort& p : scanner.Scan()) {
        if (served_.count(p.PreferredPath()) != 0) continue;
        CollectPort port;
        port.device = p.PreferredPath();
        port.byId = p.byId.value_or("");
        if (nameOf) port.name = nameOf(port.device);
        port.tmpl = StartupTemplate();
        Serve(std::move(port));
    }
}

void StationRunner::Join() {
    for (std::thread& t : threads_)
        if (t.joinable()) t.join();
    threads_.clear();
}

}  // namespace k52
