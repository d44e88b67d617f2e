// forward: a one-off catch-up: every upload FOLDER's ledger holds that is not in the central store yet,
// delivered oldest first; the same forwarder collect runs beside its ports.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CentralTable.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "cli/DeliveryWords.h"
#include "cli/JsonText.h"
#include "i18n/Translate.h"
#include "station/Forwarder.h"

namespace k52::cli {
namespace {

struct ForwardOptions {
    std::string folder, url, templatePath;
    bool json = false;
};

int RunForward(const ForwardOptions& o) {
    std::string url;
    ForwarderOptions options;
    if (const int rc = ForwardingOf(o.folder, o.url, o.templatePath, url, options); rc != kExitOk) return rc;
    if (url.empty()) {
        std::cerr << "k52cli: "
                  << Localize("no central store: give --central or a central= line in %1/station.conf",
                              {o.folder})
                  << "\n";
        return kExitUsage;
    }
    options.onEvent = [&](const ForwardEvent& e) {
        if (o.json) {
            nlohmann::ordered_json j{
                {"event", e.kind == ForwardEvent::Kind::Delivered ? "forwarded" : "not-forwarded"},
                {"key", e.key}};
            PutText(j, "terminal", e.terminal);
            j["records"] = e.records;
            if (!e.message.empty()) PutText(j, "message", e.message);
            std::cout << DumpJson(j) << std::endl;
        } else if (e.kind == ForwardEvent::Kind::Delivered) {
            std::cout << Localize("forwarded %1 (%2, %3 records)",
                                  {e.key, e.terminal, std::to_string(e.records)})
                      << std::endl;
        } else {
            std::cout << Localize("not forwarded %1 (%2): %3",
                                  {e.key, e.terminal, LocalizeFinished(e.message)})
                      << std::endl;
        }
    };
    MonotonicClock clock;
    StopFlag stop{false};
    Forwarder forwarder(
        o.folder, url, clock, stop, [] { return std::time(nullptr); }, options);
    const Forwarder::Pass pass = forwarder.RunOnce();
    const ForwarderState state = forwarder.State();
    if (!o.json) {
        const std::string line = ForwarderStateLine(state);
        if (!line.empty()) std::cout << line << "\n";
    }
    if (pass.failed > 0 && pass.delivered == 0 && state.waiting == 0) {
        std::cerr << "k52cli: " << LocalizeFinished(pass.error) << "\n";
        return kExitFile;
    }
    return state.waiting == 0 ? kExitOk : kExitFailed;
}

}  // namespace

void RegisterForwardCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<ForwardOptions>();
    CLI::App* sub = app.add_subcommand(
        "forward",
        Localize("deliver the uploads of FOLDER's ledger that the central store lacks, oldest first"));
    sub->add_option("FOLDER", o->folder, Localize("the folder collect stores into"))
        ->required()
        ->check(kPath);
    sub->add_option(
           "--central", o->url,
           Localize("the central PostgreSQL (a libpq URI or connection string; default: station.conf)"))
        ->type_name("URL");
    sub->add_option(
           "--template", o->templatePath,
           Localize("store each record's fields cut at this template's separators (default: station.conf)"))
        ->type_name("T")
        ->check(kPath);
    sub->add_flag("--json", o->json, Localize("one JSON object per upload"));
    commands.push_back(
        {sub, [o] { return NoPasswordOnCommandLine(o->url); }, [o] { return RunForward(*o); }});
}

}  // namespace k52::cli
