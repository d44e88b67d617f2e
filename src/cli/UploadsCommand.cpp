// uploads: the collection ledger as a table or JSON, and with --verify a check that every file it names
// is still there with the contents it had, and that every stored file has its row.
#include <algorithm>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "cli/DeliveryWords.h"
#include "cli/JsonText.h"
#include "i18n/Translate.h"
#include "station/ForwarderState.h"
#include "station/Ledger.h"
#include "station/Recovery.h"
#include "util/LocalTime.h"
#include "util/Sha256.h"

namespace k52::cli {
namespace {

struct UploadsOptions {
    std::string folder;
    UploadFilter filter;  // --since and --until as the UTC moments they name
    bool json = false;
    bool verify = false;
};

// "ok", "missing" or "changed" for a row with a file; "" for one without.
std::string Check(const std::string& folder, const UploadRow& row) {
    if (row.file.empty()) return "";
    const std::optional<std::string> hash = FileSha256Hex(folder + "/" + row.file);
    if (!hash) return K52_EN("missing");
    return *hash == row.sha256 ? K52_EN("ok") : K52_EN("changed");
}

int RunUploads(const UploadsOptions& o) {
    std::string reason;
    std::optional<Ledger> ledger = Ledger::OpenExisting(o.folder, &reason);
    std::optional<std::vector<UploadRow>> rows;
    if (ledger) rows = ledger->List(o.filter, &reason);
    if (!rows) {
        std::cerr << "k52cli: " << Localize("cannot read the ledger %1", {reason}) << "\n";
        return kExitFile;
    }
    std::vector<std::string> checks;
    int bad = 0;
    for (const UploadRow& r : *rows) {
        checks.push_back(o.verify ? Check(o.folder, r) : "");
        bad += checks.back() == "missing" || checks.back() == "changed";
    }
    // Stored files that no row names: the ledger would hide them.
    std::vector<std::string> unknown;
    if (o.verify) {
        std::optional<std::vector<UploadRow>> all = ledger->List("", "", &reason);
        if (all) unknown = FilesWithoutRow(o.folder, *all);
    }
    if (o.json) {
        nlohmann::ordered_json doc = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < rows->size(); ++i) {
            const UploadRow& r = (*rows)[i];
            auto orNull = [](const std::string& s) {
                return s.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(s);
            };
            nlohmann::ordered_json j{{"key", r.key}};
            PutText(j, "terminal", r.terminal);
            j["name"] = orNull(r.name);
            if (!r.name.empty()) PutText(j, "name", r.name);
            PutText(j, "device", r.device);
            j["byId"] = orNull(r.byId);
            if (!r.byId.empty()) PutText(j, "byId", r.byId);
            j["started"] = r.started;
            j["ended"] = r.ended;
            j["started_utc"] = r.startedUtc;
            j["ended_utc"] = orNull(r.endedUtc);
            j["records"] = r.records;
            j["acknowledged"] = r.acknowledged;
            j["file"] = orNull(r.file);
            if (!r.file.empty()) PutText(j, "file", r.file);
            j["sha256"] = orNull(r.sha256);
            j["outcome"] = r.outcome;
            PutText(j, "message", r.message);
            // The notice behind the message, the same in every language.
            j["code"] = orNull(r.code);
            j["args"] = r.args.empty() ? nlohmann::ordered_json(nullptr)
                                       : nlohmann::ordered_json::parse(r.args, nullptr, false);
            // Its delivery to the central store: when, or null while it waits (with the last error).
            j["delivered"] = orNull(r.deliveredUtc);
            j["delivery_error"] = orNull(r.deliveredUtc.empty() ? r.deliveryError : "");
            if (o.verify) j["check"] = orNull(checks[i]);
            doc.push_back(std::move(j));
        }
        std::cout << DumpJson(doc, 2) << "\n";
    } else {
        // Headers and words in the user's language; the column widths are those of the English table.
        const std::string terminal = Localize("terminal"), records = Localize("records"),
                          file = Localize("file");
        std::size_t terminalWidth = std::max<std::size_t>(8, TextWidth(terminal));
        std::size_t fileWidth = std::max<std::size_t>(4, TextWidth(file));
        // A port's given name stands beside its terminal's.
        auto named = [](const UploadRow& r) {
            return r.name.empty() ? r.terminal : r.terminal + " \"" + r.name + "\"";
        };
        for (const UploadRow& r : *rows) {
            terminalWidth = std::max(terminalWidth, TextWidth(named(r)));
            fileWidth = std::max(fileWidth, TextWidth(r.file));
        }
        const std::size_t recordsWidth = std::max<std::size_t>(7, TextWidth(records));
        // A desk that never forwarded shows the table it always showed.
        const bool forwarding = std::any_of(rows->begin(), rows->end(), [](const UploadRow& r) {
            return !r.deliveredUtc.empty() || !r.deliveryTriedUtc.empty();
        });
        auto delivery = [&](const UploadRow& r) -> std::string {
            if (!forwarding) return "";
            if (r.outcome == UploadOutcomeKey(UploadOutcome::Receiving)) return "  -";
            return "  " + (r.deliveredUtc.empty() ? Padded(Localize("waiting"), 20) : r.deliveredUtc);
        };
        std::cout << Padded(Localize("started"), 25) << "  " << Padded(terminal, terminalWidth) << "  "
                  << Padded(records, recordsWidth) << "  " << Padded(Localize("outcome"), 11) << "  "
                  << Padded(file, fileWidth)
                  << (forwarding ? "  " + Padded(Localize("central"), 20) : std::string())
                  << (o.verify ? "  " + Localize("check") : std::string());
        std::cout << "\n";
        for (std::size_t i = 0; i < rows->size(); ++i) {
            const UploadRow& r = (*rows)[i];
            const std::string count = std::to_string(r.records);
            std::cout << Padded(r.started, 25) << "  " << Padded(named(r), terminalWidth) << "  "
                      << std::string(recordsWidth - count.size(), ' ') << count << "  "
                      << Padded(Localize(r.outcome), 11) << "  "
                      << Padded(r.file.empty() ? "-" : r.file, fileWidth) << delivery(r)
                      << (o.verify ? "  " + (checks[i].empty() ? std::string("-") : Localize(checks[i])) : "")
                      << "\n";
        }
    }
    if (!o.json) {
        std::optional<std::vector<UploadRow>> all = ledger->List("", "", &reason);
        const std::string line = all ? ForwarderStateLine(DeliveryStateOf(*all)) : "";
        if (!line.empty()) std::cout << line << "\n";
    }
    for (std::size_t i = 0; i < rows->size(); ++i)
        if (checks[i] == "missing" || checks[i] == "changed")
            std::cerr << "k52cli: "
                      << (checks[i] == "missing"
                              ? Localize("%1 is missing", {(*rows)[i].file})
                              : Localize("%1 differs from the upload it recorded", {(*rows)[i].file}))
                      << "\n";
    for (const std::string& f : unknown)
        std::cerr << "k52cli: " << Localize("%1 is stored but has no row in the ledger", {PrintableBytes(f)})
                  << "\n";
    return bad > 0 || !unknown.empty() ? kExitFailed : kExitOk;
}

}  // namespace

void AddUploadFilterOptions(CLI::App& sub, UploadFilter& filter) {
    auto instant = [](const char* option, std::string& utc) {
        return [option, &utc](const std::string& v) {
            const std::optional<std::time_t> at = ParseInstant(v);
            if (!at)
                throw CLI::ValidationError(
                    Localize("%1 takes a date such as 2024-05-01 or 2024-05-01T08:00+08:00", {option}));
            utc = UtcIsoTime(*at);
        };
    };
    filter.timeOrder = true;
    sub.add_option_function<std::string>(
           "--since", instant("--since", filter.sinceUtc),
           Localize("only uploads started at DATE or later (YYYY-MM-DD or ISO 8601; local time without an "
                    "offset)"))
        ->type_name("DATE");
    sub.add_option_function<std::string>("--until", instant("--until", filter.untilUtc),
                                         Localize("only uploads started before DATE"))
        ->type_name("DATE");
    sub.add_option(
           "--terminal", filter.terminal,
           Localize("only the uploads of terminal NAME (its folder, its port's given name or its device)"))
        ->type_name("NAME");
    sub.add_option(
           "--outcome", filter.outcomes,
           Localize("only uploads with this outcome (complete, partial, interrupted, empty, receiving; as "
                    "often as needed)"))
        ->type_name("OUTCOME")
        ->check(CLI::IsMember({"complete", "partial", "interrupted", "empty", "receiving"}))
        ->delimiter(',');
}

void RegisterUploadsCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<UploadsOptions>();
    CLI::App* sub =
        app.add_subcommand("uploads", Localize("list the uploads that collect entered in FOLDER's ledger"));
    sub->add_option("FOLDER", o->folder, Localize("the folder collect stores into"))
        ->required()
        ->check(kPath);
    AddUploadFilterOptions(*sub, o->filter);
    sub->add_flag("--json", o->json, Localize("the rows as a JSON array"));
    sub->add_flag("--verify", o->verify,
                  Localize("re-read every file; exit 1 when one is missing or changed"));
    commands.push_back({sub, [] { return std::string(); }, [o] { return RunUploads(*o); }});
}

}  // namespace k52::cli
