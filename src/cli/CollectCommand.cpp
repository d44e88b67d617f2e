// collect: the collection station from the command line, serving the named ports or every port present
// (adapters plugged in later too) until Ctrl+C, SIGTERM or SIGHUP; one line or JSON object per event.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <thread>

#include "app/TransferWording.h"
#include "cli/CliSupport.h"
#include "cli/CollectEvents.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "i18n/Translate.h"
#include "ports/PortAssignments.h"
#include "ports/PortDiscovery.h"
#include "station/CollectStation.h"
#include "station/Hooks.h"
#include "station/StationRunner.h"
#include "station/StationStatus.h"
#include "util/LocalTime.h"
#include "util/Parse.h"
#include "util/Sha256.h"
#include "util/Version.h"
#include "util/platform/System.h"
#ifdef K52_WITH_CENTRAL
#include "cli/CentralTable.h"
#include "station/Forwarder.h"
#endif

namespace k52::cli {
namespace {

struct CollectOptions {
    std::string folder;
    std::vector<CollectPort> ports;  // in command-line order; lines filled in at the run
    std::int64_t intervalMs = 5000;
    bool json = false;
    std::string central;      // --central; else station.conf's central= line
    std::vector<Hook> hooks;  // --on-upload and --on-event, in command-line order
    HookOptions hookOptions;
    bool testHooks = false;
    std::string status;  // empty: FOLDER/status.json
    std::string metrics;
    std::int64_t silentAfterS = 12 * 3600;
};

StopFlag gCollectStop{false};

void RequestCollectStop(int) {
    gCollectStop.store(true);
}

// Until the stop: takes up ports found (without --port/--device, every port present and those plugged in
// later; a pulled one stays served by its stable name) and keeps a service manager told: ready once the
// ports are taken up, the status line as it changes, the watchdog fed while the station is sound.
void ServeAndTellTheServiceManager(const CollectOptions& o, StationRunner& runner, CollectStation& station,
                                   StationStatus& status, const NameOf& nameOf) {
    SystemPortScanner scanner;
    MonotonicClock clock;
    const std::int64_t watchdogMs = platform::ServiceWatchdogMs();
    // Fed at a third of its time, so that a late beat or two never looks like a hang.
    const std::int64_t beatMs = watchdogMs > 0 ? std::max<std::int64_t>(watchdogMs / 3, 1) : 1000;
    std::int64_t nextScan = 0;
    std::string said;
    bool ready = false;
    while (!gCollectStop.load() && !station.Failed()) {
        const std::int64_t now = clock.NowMs();
        if (o.ports.empty() && now >= nextScan) {
            runner.ServeNew(scanner, nameOf);
            nextScan = now + o.intervalMs;
        }
        std::string message;
        if (!ready) message += "READY=1\n";
        ready = true;
        if (const std::string summary = status.Summary(); summary != said) {
            message += "STATUS=" + summary + "\n";
            said = summary;
            // Ports taken up show in the status files at once, not only after their first event.
            status.Write();
        }
        if (watchdogMs > 0) message += "WATCHDOG=1\n";
        if (!message.empty()) platform::NotifyServiceManager(message);
        SleepUnlessStopped(clock, std::min(beatMs, o.ports.empty() ? o.intervalMs : beatMs), &gCollectStop,
                           100);
    }
    platform::NotifyServiceManager("STOPPING=1\nSTATUS=stopping at a record boundary\n");
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
    // Names people gave the ports, read once: a renamed port is named so from the next start.
    std::vector<std::string> warnings;
    const PortsConf conf = ReadPortsConf(DefaultPortsConfPath(), &warnings);
    for (const std::string& w : warnings)
        std::cerr << "k52cli: " << Localize("warning: %1", {LocalizeFinished(w)}) << "\n";
    const NameOf nameOf = [conf, named = o.ports](const std::string& device) {
        for (const CollectPort& p : named)
            if (p.device == device) return conf.NameOf(device, p.comPort);
        return conf.NameOf(device);
    };
    for (CollectPort& port : o.ports) port.name = conf.NameOf(port.device, port.comPort);
    const HookStation hookStation{std::filesystem::absolute(o.folder, ec).lexically_normal().string(),
                                  ledger->stationId(), ledger->host()};
    if (o.testHooks) return TestHooks(AllHooks(o.folder, o.hooks), o.hookOptions, o.json, hookStation);
    // The hooks keep their own connection to the ledger, on their own thread.
    std::optional<Ledger> hookLedger = Ledger::Open(o.folder, &reason);
    if (!hookLedger) {
        std::cerr << "k52cli: " << Localize("cannot open the ledger %1", {reason}) << "\n";
        return kExitFile;
    }
    platform::CatchStopRequests(RequestCollectStop);

    EventPrinter printer(o.json, nameOf);
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
    // The station's events go to the hooks, then to the status files, then to the printer.
    auto processes = SystemHookProcesses();
    MonotonicClock hookClock;
    // The deliveries' counts in the status files, from the hooks' own ledger connection (their thread).
    auto countDeliveries = [&status, &hookLedger] {
        std::string why;
        for (const char* state : {"pending", "failed"})
            if (const auto rows = hookLedger->Deliveries(state, "", &why))
                status.SetGauge(std::string("deliveries_") + state,
                                std::string("Hook deliveries ") + state + ".",
                                static_cast<double>(rows->size()));
    };
    countDeliveries();
    HookDispatcher hooks(
        *hookLedger, status, *processes, hookClock, [] { return std::time(nullptr); },
        AllHooks(o.folder, o.hooks), o.hookOptions, hookStation, nameOf,
        [&printer, &countDeliveries](const DeliveryRow& d) {
            printer.OnDelivery(d);
            countDeliveries();
        });
    StopFlag hooksStop{false};
    std::thread hookThread([&] { hooks.Run(hooksStop); });
    struct StopHooks {
        StopFlag& stop;
        std::thread& thread;
        ~StopHooks() {
            stop.store(true);
            thread.join();
        }
    } stopHooks{hooksStop, hookThread};
    CollectStation station(
        o.folder, o.intervalMs, gCollectStop, *ledger, hooks, [] { return std::time(nullptr); },
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
#ifdef K52_WITH_CENTRAL
    // The forwarder beside the ports, on its own thread and ledger connection: a central store that is
    // away or refusing only makes it wait.
    std::string central;
    ForwarderOptions forwarding;
    if (const int rc = ForwardingOf(o.folder, o.central, "", central, forwarding); rc != kExitOk) return rc;
    MonotonicClock forwardClock;
    StopFlag forwardStop{false};  // set once the ports are done, whatever ended them
    std::optional<Forwarder> forwarder;
    forwarding.onEvent = [&](const ForwardEvent& e) {
        const ForwarderState state = forwarder->State();
        PublishForwarderState(status, state);
        printer.OnForward(e, state);
    };
    if (!central.empty()) {
        forwarder.emplace(
            o.folder, central, forwardClock, forwardStop, [] { return std::time(nullptr); }, forwarding);
        PublishForwarderState(status, forwarder->State());
    }
    std::thread forwarding_thread;
    if (forwarder) forwarding_thread = std::thread([&] { forwarder->Run(); });
    struct JoinAtEnd {
        StopFlag& stop;
        std::thread& t;
        ~JoinAtEnd() {
            stop.store(true);
            if (t.joinable()) t.join();
        }
    } joinForwarder{forwardStop, forwarding_thread};
#endif
    runner.serving = [&status](const CollectPort& port) {
        status.AddPort(port);
        std::cerr << "k52cli: " << Localize("serving %1", {port.device}) << std::endl;
    };
    for (const CollectPort& port : o.ports) runner.Serve(port);
    ServeAndTellTheServiceManager(o, runner, station, status, nameOf);
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
#ifdef K52_WITH_CENTRAL
    sub->add_option(
           "--central", o->central,
           Localize("forward every upload to this central PostgreSQL (a libpq URI or connection string; "
                    "default: station.conf)"))
        ->type_name("URL");
#endif
    auto addHook = [o](bool onUpload) {
        return [o, onUpload](const std::string& v) { o->hooks.push_back({v, onUpload}); };
    };
    sub->add_option_function<std::string>(
           "--on-upload", addHook(true),
           Localize("run PROGRAM after each upload, the upload in its environment and as JSON on its input "
                    "(as often as needed; FOLDER/hooks.d and /etc/k52/hooks.d add more)"))
        ->type_name("PROGRAM")
        ->check(kPath)
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    sub->add_option_function<std::string>(
           "--on-event", addHook(false),
           Localize("run PROGRAM on every other event (port busy, port gone, problem, ...), likewise"))
        ->type_name("PROGRAM")
        ->check(kPath)
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    AddHookTimeoutOption(
        *sub, o->hookOptions.timeLimitMs,
        Localize("seconds a hook may run before it is ended and tried again later (default 60)"));
    sub->add_flag("--test-hook", o->testHooks,
                  Localize("run each hook once with a made-up upload, say how it ended, and exit"));
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
#ifdef K52_WITH_CENTRAL
                            if (std::string why = NoPasswordOnCommandLine(o->central); !why.empty())
                                return why;
#endif
                            std::vector<std::string> devices;
                            for (const CollectPort& p : o->ports) devices.push_back(p.device);
                            return NamedTwice(devices, K52_EN("a port is named twice: %1"));
                        },
                        [o] { return RunCollect(*o); }});
}

}  // namespace k52::cli
