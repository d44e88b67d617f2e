// collect: the collection station from the command line, serving the named ports or every port present
// (adapters plugged in later too) until Ctrl+C, SIGTERM or SIGHUP; one line or JSON object per event.

#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "app/TransferWording.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "i18n/Translate.h"
#include "ports/PortDiscovery.h"
#include "station/CollectStation.h"
#include "station/StationRunner.h"
#include "station/StationStatus.h"
#include "util/Parse.h"
#include "util/Version.h"
#include "util/platform/System.h"

namespace k52::cli {
namespace {

struct CollectOptions {
    std::string folder;
    std::vector<CollectPort> ports;  // in command-line order; lines filled in at the run
    std::int64_t intervalMs = 5000;
    bool json = false;
    std::string status;  // empty: FOLDER/status.json
    std::string metrics;
    std::int64_t silentAfterS = 12 * 3600;
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
            nlohmann::ordered_json j{{"event", CollectEventKey(e.kind)}, {"time", e.time}};
            PutText(j, "terminal", e.terminal);
            PutText(j, "device", e.device);
            if (!e.key.empty()) j["key"] = e.key;
            if (e.kind == CollectEventKind::Finished || e.kind == CollectEventKind::Partial ||
                e.kind == CollectEventKind::Interrupted || e.kind == CollectEventKind::Empty) {
                j["records"] = e.records;
                if (e.file.empty())
                    j["file"] = nullptr;
                else
                    PutText(j, "file", e.file);
            }
            if (!e.message.empty()) PutText(j, "message", e.message);
            if (e.notice) {
                j["code"] = NoticeCode(e.notice->kind);
                j["args"] = nlohmann::ordered_json::parse(NoticeArgumentsJson(*e.notice), nullptr, false);
            }
            std::cout << DumpJson(j) << std::endl;
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
    const std::string statusFile = o.status.empty() ? o.folder + "/status.json" : o.status;
    StationInfo info{VersionLine("k52cli"), platform::HostName(),  o.folder,
                     ledger->stationId(),   platform::ProcessId(), std::time(nullptr)};
    StationStatus status(
        info, {statusFile, o.metrics}, printer, [] { return std::time(nullptr); },
        [](const std::string& folder) -> std::optional<std::uintmax_t> {
            std::error_code error;
            const auto space = std::filesystem::space(folder, error);
            if (error) return std::nullopt;
            return space.available;
        });
    CollectStation station(
        o.folder, o.intervalMs, gCollectStop, *ledger, status, [] { return std::time(nullptr); },
        [](const Notice& n) { return WordNotice(n).text; });
    StationWatch watch;
    watch.silentAfterS = o.silentAfterS;
    watch.lockDir = DefaultLockDir();
    watch.self = {info.pid, o.folder, statusFile, info.host};
    station.SetWatch(watch);
    StationHolder holder;
    if (!station.TakeFolder(&holder, &reason)) {
        std::cerr << "k52cli: "
                  << (reason.empty()
                          ? Localize("%1 is served by another station (%2)", {o.folder, HolderText(holder)})
                          : reason)
                  << "\n";
        return kExitFile;
    }
    if (const auto rows = ledger->List("", "", &reason)) status.Seed(*rows);
    std::cerr << "k52cli: "
              << (o.ports.empty()
                      ? Localize("serving every port found (USB and by-id), and those plugged in later")
                      : Localize("serving %1 ports", {std::to_string(o.ports.size())}))
              << "\n";
    StationRunner runner(station, gCollectStop, [](const CollectPort& port) {
        // A port named COMn opens through the resolver, as every transfer does.
        return SystemPortLine(port, port.comPort.has_value());
    });
    runner.serving = [&status](const CollectPort& port) {
        status.AddPort(port);
        std::cerr << "k52cli: " << Localize("serving %1", {port.device}) << std::endl;
    };
    for (const CollectPort& port : o.ports) runner.Serve(port);
    if (o.ports.empty()) {
        // Every port present, and those plugged in later; a pulled one stays served by its stable name.
        SystemPortScanner scanner;
        MonotonicClock clock;
        runner.ServeDiscovered(scanner, o.intervalMs, clock);
    }
    runner.Join();
    const StationStatus::RunCounts run = status.ThisRun();
    int uploads = 0, records = 0;
    for (const auto& [outcome, n] : run.uploads) uploads += n;
    for (const auto& [outcome, n] : run.records) records += n;
    std::cerr << "k52cli: "
              << Localize("stopped: %1 uploads, %2 records",
                          {std::to_string(uploads), std::to_string(records)})
              << "\n";
    // A station that could not keep its ledger, or ends with rows not in it, must not look as if it
    // ended well: a service manager restarts it, and recovery enters what those rows would have.
    if (station.Failed()) return kExitFile;
    if (!station.Flush()) {
        std::cerr << "k52cli: "
                  << Localize("%1 uploads could not be entered in the ledger; the next start enters them",
                              {std::to_string(station.WaitingRows())})
                  << "\n";
        return kExitFile;
    }
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
        port.comPort = comPort;
        o->ports.push_back(std::move(port));
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
               const int n = ParseComPortOption(v);
               addDevice(ComPortDevice(n), n);
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
    sub->add_option("--status", o->status,
                    Localize("the status file, replaced on every event (default FOLDER/status.json)"))
        ->type_name("FILE");
    sub->add_option("--metrics", o->metrics, Localize("a metrics file in the Prometheus text format"))
        ->type_name("FILE");
    sub->add_option_function<std::string>(
           "--silent-after",
           [o](const std::string& v) {
               std::int64_t unit = 1;
               std::string digits = v;
               if (!digits.empty() &&
                   (digits.back() == 'h' || digits.back() == 'm' || digits.back() == 's')) {
                   unit = digits.back() == 'h' ? 3600 : digits.back() == 'm' ? 60 : 1;
                   digits.pop_back();
               }
               const auto n = ParseUnsigned<unsigned>(digits, 10000000);
               if (!n)
                   throw CLI::ValidationError(Localize("--silent-after takes a time such as 12h, 90m or 0"));
               o->silentAfterS = static_cast<std::int64_t>(*n) * unit;
           },
           Localize("a terminal not heard from this long is reported silent (default 12h; 0: never)"))
        ->type_name("TIME");
    commands.push_back({sub,
                        [o] {
                            std::vector<std::string> devices;
                            for (const CollectPort& p : o->ports) devices.push_back(p.device);
                            return NamedTwice(devices, K52_EN("a port is named twice: %1"));
                        },
                        [o] { return RunCollect(*o); }});
}

}  // namespace k52::cli
