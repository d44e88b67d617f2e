// collect: the collection station from the command line, serving the named ports or every port present
// (adapters plugged in later too) until Ctrl+C, SIGTERM or SIGHUP; one line or JSON object per event.

#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "i18n/Translate.h"
#include "link/CollectStation.h"
#include "ports/PortDiscovery.h"
#include "util/Parse.h"
#include "util/platform/System.h"

namespace k52::cli {
namespace {

struct CollectOptions {
    std::string folder;
    std::vector<CollectPort> ports;  // in command-line order; lines filled in at the run
    std::vector<std::optional<std::string>> devices;
    std::int64_t intervalMs = 5000;
    bool json = false;
};

StopFlag gCollectStop{false};

void RequestCollectStop(int) {
    gCollectStop.store(true);
}

class EventPrinter : public CollectObserver {
  public:
    explicit EventPrinter(bool json) : json_(json) {}
    void OnEvent(const CollectEvent& e) override {
        std::lock_guard<std::mutex> lock(mutex_);
        if (json_) {
            nlohmann::ordered_json j{{"event", CollectEventKey(e.kind)},
                                     {"time", e.time},
                                     {"terminal", e.terminal},
                                     {"device", e.device}};
            if (e.kind == CollectEventKind::Finished || e.kind == CollectEventKind::Partial ||
                e.kind == CollectEventKind::Interrupted || e.kind == CollectEventKind::Empty) {
                j["records"] = e.records;
                j["file"] = e.file.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(e.file);
            }
            if (!e.message.empty()) j["message"] = e.message;
            std::cout << j.dump() << std::endl;
            return;
        }
        // The line in the user's language; the station's words are English, as in JSON and the ledger.
        std::cout << e.time << " " << e.terminal << " (" << e.device
                  << "): " << Localize(CollectEventKey(e.kind));
        switch (e.kind) {
            case CollectEventKind::Finished:
            case CollectEventKind::Partial:
            case CollectEventKind::Interrupted:
            case CollectEventKind::Empty:
                std::cout << (e.file.empty()
                                  ? Localize(", %1 records", {std::to_string(e.records)})
                                  : Localize(", %1 records in %2", {std::to_string(e.records), e.file}));
                break;
            default:
                break;
        }
        if (!e.message.empty()) std::cout << " (" << LocalizeFinished(e.message) << ")";
        std::cout << std::endl;
    }

  private:
    bool json_;
    std::mutex mutex_;
};

// One port's station loop on a thread of its own, with the line factory it opens the device through.
struct PortRunner {
    CollectPort port;
    std::unique_ptr<PosixLineFactory> lines;
    std::thread thread;
};

void Start(CollectStation& station, PortRunner& r) {
    r.port.lines = r.lines.get();
    r.thread = std::thread([&station, &r] {
        MonotonicClock clock;
        station.Serve(r.port, clock);
    });
}

void SleepWhileRunning(std::int64_t ms) {
    MonotonicClock clock;
    const std::int64_t until = clock.NowMs() + ms;
    for (std::int64_t now = clock.NowMs(); now < until && !gCollectStop.load(); now = clock.NowMs())
        clock.SleepUntil(std::min(until, now + 200));
}

int RunCollect(CollectOptions& o) {
    std::error_code ec;
    std::filesystem::create_directories(o.folder, ec);
    if (ec || !std::filesystem::is_directory(o.folder)) {
        std::cerr << "k52cli: " << Localize("cannot use %1 as the collection folder", {o.folder})
                  << (ec ? ": " + ec.message() : std::string()) << "\n";
        return kExitFile;
    }
    std::string reason;
    std::optional<Ledger> ledger = Ledger::Open(o.folder, &reason);
    if (!ledger) {
        std::cerr << "k52cli: " << Localize("cannot open the ledger %1", {reason}) << "\n";
        return kExitFile;
    }
    platform::CatchStopRequests(RequestCollectStop);

    EventPrinter printer(o.json);
    CollectStation station(o.folder, o.intervalMs, gCollectStop, *ledger, printer,
                           [] { return std::time(nullptr); });
    station.Recover();
    std::vector<std::unique_ptr<PortRunner>> runners;
    for (std::size_t i = 0; i < o.ports.size(); ++i) {
        auto r = std::make_unique<PortRunner>();
        r->port = o.ports[i];
        r->lines = o.devices[i] ? std::make_unique<PosixLineFactory>(*o.devices[i])
                                : std::make_unique<PosixLineFactory>();
        Start(station, *r);
        runners.push_back(std::move(r));
    }
    if (o.ports.empty()) {
        // Every port present, and those plugged in later; a pulled one stays served by its stable name.
        SystemPortScanner scanner;
        std::set<std::string> served;
        while (!gCollectStop.load()) {
            for (const DiscoveredPort& p : scanner.Scan()) {
                if (!served.insert(p.PreferredPath()).second) continue;
                auto r = std::make_unique<PortRunner>();
                r->port.device = p.PreferredPath();
                r->port.byId = p.byId.value_or("");
                r->port.tmpl = StartupTemplate();
                r->lines = std::make_unique<PosixLineFactory>(p.PreferredPath());
                Start(station, *r);
                runners.push_back(std::move(r));
            }
            SleepWhileRunning(o.intervalMs);
        }
    }
    for (auto& r : runners) r->thread.join();
    return kExitOk;
}

}  // namespace

void RegisterCollectCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<CollectOptions>();
    CLI::App* sub = app.add_subcommand(
        "collect",
        Localize(
            "take every upload from the terminals on the ports into FOLDER, with a ledger, until stopped"));
    sub->add_option("FOLDER", o->folder, Localize("where each terminal's uploads and ledger.sqlite go"))
        ->required()
        ->check(kPath);
    auto addDevice = [o](const std::string& device, std::optional<int> comPort) {
        CollectPort port;
        port.tmpl = StartupTemplate();
        port.device = device;
        if (device.rfind("/dev/serial/by-id/", 0) == 0) port.byId = device;
        if (comPort) port.tmpl.portSettings.comPort = static_cast<u8>(*comPort);
        o->ports.push_back(std::move(port));
        o->devices.push_back(comPort ? std::nullopt : std::optional<std::string>(device));
    };
    sub->add_option_function<std::string>(
           "--device", [addDevice](const std::string& v) { addDevice(v, std::nullopt); },
           Localize("a serial device or pseudo-terminal to serve (as often as needed)"))
        ->type_name("PATH")
        ->check(kPath)
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    sub->add_option_function<std::string>(
           "--port",
           [addDevice](const std::string& v) {
               const auto n = (v.size() == 4 && (v.rfind("COM", 0) == 0 || v.rfind("com", 0) == 0))
                                  ? ParseUnsigned<unsigned>(std::string_view(v).substr(3), 6)
                                  : std::nullopt;
               if (!n || *n == 0) throw CLI::ValidationError(Localize("--port takes COM1 to COM6"));
               addDevice(ComPortDevice(static_cast<int>(*n) - 1), static_cast<int>(*n) - 1);
           },
           Localize("a port name, COM1..COM6, to serve (as often as needed)"))
        ->type_name("COMn")
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    sub->add_option_function<std::string>(
           "--interval",
           [o](const std::string& v) {
               const auto s = ParseUnsigned<unsigned>(v, 3600);
               if (!s || *s == 0) throw CLI::ValidationError(Localize("--interval takes 1 to 3600 seconds"));
               o->intervalMs = static_cast<std::int64_t>(*s) * 1000;
           },
           Localize("seconds between requests to a terminal that did not answer (default 5)"))
        ->type_name("S");
    sub->add_flag("--json", o->json, Localize("one JSON object per event"));
    commands.push_back({sub, "collect FOLDER [--port COMn | --device PATH ...] [--interval S] [--json]",
                        [o] {
                            for (std::size_t i = 0; i < o->ports.size(); ++i)
                                for (std::size_t k = 0; k < i; ++k)
                                    if (o->ports[i].device == o->ports[k].device)
                                        return Localize("a port is named twice: %1", {o->ports[i].device});
                            return std::string();
                        },
                        [o] { return RunCollect(*o); }});
}

}  // namespace k52::cli
