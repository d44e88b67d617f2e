// deliveries: the hooks' runs for FOLDER's uploads and events (pending, delivered, failed and why), and
// with --retry those of an upload, or every failed one, run again now.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "i18n/Translate.h"
#include "station/Hooks.h"
#include "station/Ledger.h"
#include "util/LocalTime.h"
#include "util/Parse.h"

namespace k52::cli {
namespace {

struct DeliveriesOptions {
    std::string folder, state, retry;
    bool json = false;
    HookOptions hookOptions;
};

void Print(const std::vector<DeliveryRow>& rows, bool json) {
    if (json) {
        nlohmann::ordered_json doc = nlohmann::ordered_json::array();
        for (const DeliveryRow& d : rows) {
            nlohmann::ordered_json j{{"key", d.key}};
            PutText(j, "hook", d.hook);
            j["event"] = d.event;
            j["state"] = d.state;
            j["attempts"] = d.attempts;
            j["exit"] = d.exitStatus;
            j["duration_ms"] = d.durationMs;
            PutText(j, "output", d.output);
            PutText(j, "reason", d.reason);
            j["created_utc"] = d.createdUtc;
            j["updated_utc"] = d.updatedUtc;
            doc.push_back(std::move(j));
        }
        std::cout << DumpJson(doc, 2) << "\n";
        return;
    }
    const std::string state = Localize("state"), hook = Localize("hook");
    std::size_t stateWidth = std::max<std::size_t>(9, TextWidth(state)), hookWidth = TextWidth(hook);
    for (const DeliveryRow& d : rows) {
        stateWidth = std::max(stateWidth, TextWidth(Localize(d.state)));
        hookWidth = std::max(hookWidth, TextWidth(d.hook));
    }
    std::cout << Padded(Localize("updated"), 20) << "  " << Padded(state, stateWidth) << "  "
              << Padded(hook, hookWidth) << "  " << Padded(Localize("upload or event"), 36) << "  "
              << Localize("why") << "\n";
    for (const DeliveryRow& d : rows)
        std::cout << Padded(d.updatedUtc, 20) << "  " << Padded(Localize(d.state), stateWidth) << "  "
                  << Padded(d.hook, hookWidth) << "  " << Padded(d.key, 36) << "  "
                  << (d.reason.empty() ? std::string("-") : LocalizeFinished(d.reason)) << "\n";
}

int RunDeliveries(const DeliveriesOptions& o) {
    std::string reason;
    std::optional<Ledger> ledger =
        o.retry.empty() ? Ledger::OpenExisting(o.folder, &reason) : Ledger::Open(o.folder, &reason);
    std::optional<std::vector<DeliveryRow>> rows;
    const std::string key = o.retry == "all" ? "" : o.retry;
    if (ledger) rows = ledger->Deliveries(o.retry.empty() ? o.state : "", key, &reason);
    if (!rows) {
        std::cerr << "k52cli: " << Localize("cannot read the ledger %1", {reason}) << "\n";
        return kExitFile;
    }
    if (o.retry.empty()) {
        Print(*rows, o.json);
        return kExitOk;
    }
    // A pending delivery is the running station's to try; an upload named by its key is run again
    // whatever its last run came to, "all" runs the failed ones.
    std::vector<DeliveryRow> ran;
    auto processes = SystemHookProcesses();
    MonotonicClock clock;
    int failed = 0;
    for (DeliveryRow d : *rows) {
        if (d.state == "pending" || (key.empty() && d.state != "failed")) continue;
        RunHookNow(*processes, clock, o.hookOptions, d);
        d.updatedUtc = UtcIsoTime(std::time(nullptr));
        if (!ledger->PutDelivery(d, &reason))
            std::cerr << "k52cli: " << Localize("cannot write the ledger %1", {reason}) << "\n";
        failed += d.state != "delivered";
        ran.push_back(std::move(d));
    }
    if (ran.empty() && !key.empty()) {
        std::cerr << "k52cli: " << Localize("no delivery to run again for %1", {key}) << "\n";
        return kExitUsage;
    }
    Print(ran, o.json);
    return failed ? kExitFailed : kExitOk;
}

}  // namespace

void AddHookTimeoutOption(CLI::App& sub, std::int64_t& timeLimitMs, const std::string& help) {
    sub.add_option_function<std::string>(
           "--hook-timeout",
           [&timeLimitMs](const std::string& v) {
               const auto s = ParseUnsigned<unsigned>(v, 3600);
               if (!s || *s == 0)
                   throw CLI::ValidationError(Localize("--hook-timeout takes 1 to 3600 seconds"));
               timeLimitMs = static_cast<std::int64_t>(*s) * 1000;
           },
           help)
        ->type_name("S");
}

void RegisterDeliveriesCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<DeliveriesOptions>();
    CLI::App* sub = app.add_subcommand(
        "deliveries", Localize("list the hooks' runs for FOLDER's uploads and events, or run them again"));
    sub->add_option("FOLDER", o->folder, Localize("the folder collect stores into"))
        ->required()
        ->check(kPath);
    sub->add_option("--state", o->state, Localize("only deliveries in STATE (pending, delivered or failed)"))
        ->type_name("STATE")
        ->check(CLI::IsMember({"pending", "delivered", "failed"}));
    sub->add_option("--retry", o->retry,
                    Localize("run the hooks of upload KEY again, or with 'all' every failed delivery"))
        ->type_name("KEY|all");
    AddHookTimeoutOption(*sub, o->hookOptions.timeLimitMs,
                         Localize("seconds a hook may run before it is ended (default 60)"));
    sub->add_flag("--json", o->json, Localize("the deliveries as a JSON array"));
    commands.push_back({sub, [] { return std::string(); }, [o] { return RunDeliveries(*o); }});
}

}  // namespace k52::cli
