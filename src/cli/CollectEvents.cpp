// collect's lines for station events, hook runs and forwards, and the test fire of the hooks.
#include "cli/CollectEvents.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>

#include "app/ExitCodes.h"
#include "app/TransferWording.h"
#include "cli/JsonText.h"
#include "i18n/Translate.h"
#include "util/LocalTime.h"
#include "util/Sha256.h"
#include "util/platform/System.h"
#ifdef K52_WITH_CENTRAL
#include "cli/DeliveryWords.h"
#endif

namespace k52::cli {
namespace {

// The system's drop-in folder of upload hooks, beside FOLDER/hooks.d.
constexpr const char* kSystemHooks = "/etc/k52/hooks.d";

// The states of a delivery as the ledger keeps them, worded in the run's language on the line.
[[maybe_unused]] constexpr const char* kDeliveryStates[] = {K52_EN("pending"), K52_EN("delivered"),
                                                            K52_EN("failed")};

}  // namespace

EventPrinter::EventPrinter(bool json, NameOf nameOf)
    : json_(json), journal_(!json && platform::StandardOutputIsJournal()), nameOf_(std::move(nameOf)) {}

void EventPrinter::OnEvent(const CollectEvent& e) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string name = nameOf_(e.device);
    if (json_) {
        nlohmann::ordered_json j{{"event", CollectEventKey(e.kind)}, {"time", e.time}};
        PutText(j, "terminal", e.terminal);
        if (!name.empty()) PutText(j, "name", name);
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
    std::string line = e.terminal + (name.empty() ? "" : " \"" + name + "\"") + " (" + e.device +
                       "): " + Localize(CollectEventKey(e.kind));
    const bool upload = EndsUpload(e.kind);
    if (upload)
        line += e.file.empty() ? Localize(", %1 records", {std::to_string(e.records)})
                               : Localize(", %1 records in %2", {std::to_string(e.records), e.file});
    if (!e.message.empty()) line += " (" + LocalizeFinished(e.message) + ")";
    if (journal_) {
        // An entry of its own with the event's fields, so that journalctl can pick out one kind.
        const bool trouble = e.kind == CollectEventKind::Problem || e.kind == CollectEventKind::Silent ||
                             e.kind == CollectEventKind::DiskLow || e.kind == CollectEventKind::PortBusy ||
                             e.kind == CollectEventKind::Interrupted;
        std::vector<std::pair<std::string, std::string>> fields{{"MESSAGE", line},
                                                                {"MESSAGE_ID", CollectEventMessageId(e.kind)},
                                                                {"PRIORITY", trouble ? "4" : "6"},
                                                                {"SYSLOG_IDENTIFIER", "k52cli"},
                                                                {"K52_EVENT", CollectEventKey(e.kind)},
                                                                {"K52_TERMINAL", e.terminal},
                                                                {"K52_DEVICE", e.device}};
        if (!name.empty()) fields.emplace_back("K52_TERMINAL_NAME", name);
        if (!e.key.empty()) fields.emplace_back("K52_UPLOAD_KEY", e.key);
        if (upload) fields.emplace_back("K52_RECORDS", std::to_string(e.records));
        if (!e.file.empty()) fields.emplace_back("K52_FILE", e.file);
        if (platform::SendToJournal(fields)) return;
    }
    std::cout << e.time << " " << line << std::endl;
}

#ifdef K52_WITH_CENTRAL
void EventPrinter::OnForward(const ForwardEvent& e, const ForwarderState& state) {
    std::lock_guard<std::mutex> lock(mutex_);
    const bool failed = e.kind == ForwardEvent::Kind::Failed;
    if (failed && e.message == lastFailure_) return;
    lastFailure_ = failed ? e.message : "";
    const std::string time = LocalIsoTime(std::time(nullptr));
    if (json_) {
        nlohmann::ordered_json j{
            {"event", failed ? "not-forwarded" : "forwarded"}, {"time", time}, {"key", e.key}};
        PutText(j, "terminal", e.terminal);
        j["records"] = e.records;
        if (failed) PutText(j, "message", e.message);
        j["waiting"] = state.waiting;
        std::cout << DumpJson(j) << std::endl;
        return;
    }
    std::cout << time << " "
              << (failed ? Localize("not forwarded %1 (%2): %3",
                                    {e.key, e.terminal, LocalizeFinished(e.message)})
                         : Localize("forwarded %1 (%2, %3 records)",
                                    {e.key, e.terminal, std::to_string(e.records)}));
    if (failed) std::cout << "; " << ForwarderStateLine(state);
    std::cout << std::endl;
}
#endif
void EventPrinter::OnDelivery(const DeliveryRow& d) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (json_) {
        nlohmann::ordered_json j{{"event", "hook"}, {"time", LocalIsoTime(std::time(nullptr))}};
        PutText(j, "hook", d.hook);
        j["key"] = d.key;
        j["for"] = d.event;
        j["state"] = d.state;
        j["attempts"] = d.attempts;
        j["exit"] = d.exitStatus;
        j["duration_ms"] = d.durationMs;
        if (!d.reason.empty()) PutText(j, "reason", d.reason);
        std::cout << DumpJson(j) << std::endl;
        return;
    }
    std::cout << LocalIsoTime(std::time(nullptr)) << " "
              << Localize(
                     "hook %1 (%2 %3): %4 after %5 ms",
                     {d.hook, Localize(d.event), d.key, Localize(d.state), std::to_string(d.durationMs)});
    if (!d.reason.empty()) std::cout << " (" << LocalizeFinished(d.reason) << ")";
    std::cout << std::endl;
}

std::vector<Hook> AllHooks(const std::string& folder, const std::vector<Hook>& given) {
    std::vector<Hook> hooks = given;
    for (const std::string& dropIns : {folder + "/hooks.d", std::string(kSystemHooks)})
        for (const std::string& program : DropInHooks(dropIns)) hooks.push_back({program, true});
    return hooks;
}

int TestHooks(const std::vector<Hook>& hooks, const HookOptions& options, bool json,
              const HookStation& station) {
    if (hooks.empty()) {
        std::cerr << "k52cli: "
                  << Localize("no hooks to test: give --on-upload or --on-event, or fill %1",
                              {station.folder + "/hooks.d"})
                  << "\n";
        return kExitUsage;
    }
    std::error_code ec;
    const std::filesystem::path sample =
        std::filesystem::temp_directory_path(ec) / ("k52-test-hook-" + std::to_string(platform::ProcessId()));
    std::filesystem::create_directories(sample / "ttyTEST", ec);
    const std::time_t now = std::time(nullptr);
    UploadRow row;
    row.key = Ledger::NewKey(now);
    row.terminal = "ttyTEST";
    row.device = "/dev/ttyTEST";
    row.name = Localize("test upload");
    row.file = "ttyTEST/" + LocalFileStamp(now) + ".TXT";
    row.records = 2;
    row.outcome = UploadOutcomeKey(UploadOutcome::Complete);
    row.started = row.ended = LocalIsoTime(now);
    {
        const std::string records = "0012345678,1\r\n0098765432,2\r\n";
        std::ofstream(sample / row.file, std::ios::binary) << records;
        row.sha256 = Sha256Hex(records);
    }
    HookStation test = station;
    test.folder = sample.string();
    CollectEvent event;
    event.kind = CollectEventKind::Problem;
    event.time = row.started;
    event.terminal = row.terminal;
    event.device = row.device;
    event.message = K52_EN("a test of the hook");
    auto processes = SystemHookProcesses();
    MonotonicClock clock;
    EventPrinter printer(json, [](const std::string&) { return std::string(); });
    int failed = 0;
    for (const Hook& h : hooks) {
        DeliveryRow d;
        d.hook = h.program;
        d.key = row.key;
        d.event = h.onUpload ? CollectEventKey(CollectEventKind::Finished) : CollectEventKey(event.kind);
        d.payload = h.onUpload ? UploadPayload(row, d.event, test) : EventPayload(event, row.name, test);
        RunHookNow(*processes, clock, options, d);
        printer.OnDelivery(d);
        if (!d.output.empty()) std::cout << d.output << (d.output.back() == '\n' ? "" : "\n");
        failed += d.state != "delivered";
    }
    std::filesystem::remove_all(sample, ec);
    return failed ? kExitFailed : kExitOk;
}

}  // namespace k52::cli
