// central: the central store from the command line: its schema made or upgraded (init), its uploads
// listed (uploads) and its records exported (export), for every station at once.
#include <fstream>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CentralTable.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "cli/JsonText.h"
#include "cli/ShiftOutput.h"
#include "i18n/Translate.h"
#include "station/CentralStore.h"
#include "template/RecordTable.h"
#include "util/LocalTime.h"

namespace k52::cli {
namespace {

struct CentralOptions {
    std::string url;
    CentralFilter filter;
    bool json = false;
    ShiftOutput output;
    std::optional<std::string> templatePath;
};

std::optional<CentralStore> OpenStore(const CentralOptions& o) {
    std::string reason;
    std::optional<CentralStore> store = CentralStore::Open(o.url, &reason);
    if (!store)
        std::cerr << "k52cli: "
                  << Localize("cannot use the central store %1: %2",
                              {RedactedConninfo(o.url), LocalizeFinished(reason)})
                  << "\n";
    return store;
}

int RunInit(const CentralOptions& o) {
    std::string reason;
    if (!CentralStore::Init(o.url, &reason)) {
        std::cerr << "k52cli: "
                  << Localize("cannot set up the central store %1: %2",
                              {RedactedConninfo(o.url), LocalizeFinished(reason)})
                  << "\n";
        return kExitFailed;
    }
    std::cout << Localize("the central store %1 is ready", {RedactedConninfo(o.url)}) << "\n";
    return kExitOk;
}

int RunList(const CentralOptions& o) {
    std::optional<CentralStore> store = OpenStore(o);
    if (!store) return kExitFailed;
    std::string reason;
    const std::optional<std::vector<CentralUpload>> uploads = store->Uploads(o.filter, &reason);
    if (!uploads) {
        std::cerr << "k52cli: " << Localize("cannot read the central store: %1", {reason}) << "\n";
        return kExitFailed;
    }
    if (o.json) {
        nlohmann::ordered_json doc = nlohmann::ordered_json::array();
        for (const CentralUpload& u : *uploads) {
            nlohmann::ordered_json j{{"key", u.key}, {"station", u.stationId}};
            PutText(j, "host", u.host);
            PutText(j, "terminal", u.terminal);
            PutText(j, "name", u.name);
            PutText(j, "device", u.device);
            j["started"] = u.started;
            j["ended"] = u.ended;
            j["records"] = u.records;
            j["acknowledged"] = u.acknowledged;
            j["outcome"] = u.outcome;
            j["sha256"] = u.sha256;
            PutText(j, "file", u.file);
            j["delivered"] = u.deliveredUtc;
            doc.push_back(std::move(j));
        }
        std::cout << DumpJson(doc, 2) << "\n";
        return kExitOk;
    }
    std::vector<std::vector<std::string>> rows;
    for (const CentralUpload& u : *uploads)
        // Stations on one host told apart by their id's end (its start is a time, alike for all).
        rows.push_back(
            {u.started,
             u.host + " " + u.stationId.substr(u.stationId.size() > 8 ? u.stationId.size() - 8 : 0),
             u.terminal, std::to_string(u.records), Localize(u.outcome), u.file.empty() ? "-" : u.file});
    PrintColumns({Localize("started"), Localize("station"), Localize("terminal"), Localize("records"),
                  Localize("outcome"), Localize("file")},
                 rows, {3}, std::cout);
    return kExitOk;
}

int RunExport(const CentralOptions& o) {
    const std::string noTemplate;
    if (const int refused =
            MayWrite(o.output.out, K52_EN("the export"),
                     {{o.templatePath ? *o.templatePath : noTemplate, K52_EN("the template")}},
                     o.output.overwrite ? Existing::Replace : Existing::Refuse))
        return refused;
    ApplicationTemplate t = StartupTemplate();
    if (o.templatePath)
        if (int rc = LoadTemplate(*o.templatePath, t); rc != kExitOk) return rc;
    std::optional<CentralStore> store = OpenStore(o);
    if (!store) return kExitFailed;
    // The local export's columns with the station in front, the fields cut as the local export cuts them.
    ShiftTable table;
    table.header = {"station", "host", "terminal", "name", "device", "upload", "started", "ended", "line"};
    table.fixedColumns = table.header.size();
    std::size_t fields = 1;
    std::string lastKey, reason;
    const bool read = store->ForEachRecord(
        o.filter,
        [&](const CentralUpload& u, int line, const std::string& raw) {
            if (u.key != lastKey) ++table.uploads;
            lastKey = u.key;
            std::vector<std::string> row = {u.stationId, u.host,   u.terminal,
                                            u.name,      u.device, u.key,
                                            u.started,   u.ended,  std::to_string(line)};
            const std::vector<std::string> cut = SplitRecord(raw, t.fieldSeparators);
            row.insert(row.end(), cut.begin(), cut.end());
            fields = std::max(fields, cut.size());
            table.rows.push_back(std::move(row));
            return true;
        },
        &reason);
    if (!read) {
        std::cerr << "k52cli: " << Localize("cannot read the central store: %1", {reason}) << "\n";
        return kExitFailed;
    }
    for (std::size_t f = 0; f < fields; ++f) table.header.push_back("field" + std::to_string(f + 1));
    if (int rc = WriteShiftOutput(table, o.output); rc != kExitOk) return rc;
    std::cout << Localize("%1 records of %2 uploads written to %3",
                          {std::to_string(table.rows.size()), std::to_string(table.uploads), o.output.out})
              << "\n";
    return kExitOk;
}

void AddUrl(CLI::App* sub, CentralOptions& o) {
    sub->add_option(
           "URL", o.url,
           Localize("the central PostgreSQL: a libpq URI or connection string (the password in ~/.pgpass)"))
        ->required();
}

void AddFilter(CLI::App* sub, const std::shared_ptr<CentralOptions>& o) {
    auto instant = [](std::string& to, const char* name) {
        return [&to, name](const std::string& v) {
            const std::optional<std::time_t> at = ParseInstant(v);
            if (!at)
                throw CLI::ValidationError(
                    Localize("%1 takes a date such as 2024-05-01 or 2024-05-01T08:00+08:00", {name}));
            to = UtcIsoTime(*at);
        };
    };
    sub->add_option_function<std::string>("--since", instant(o->filter.sinceUtc, "--since"),
                                          Localize("only uploads started at DATE or later"))
        ->type_name("DATE");
    sub->add_option_function<std::string>("--until", instant(o->filter.untilUtc, "--until"),
                                          Localize("only uploads started before DATE"))
        ->type_name("DATE");
    sub->add_option("--terminal", o->filter.terminal, Localize("only the uploads of terminal NAME"))
        ->type_name("NAME");
    sub->add_option(
           "--station", o->filter.station,
           Localize("only the uploads of a station (its id, the id's last 8 characters, or its host)"))
        ->type_name("STATION");
}

}  // namespace

void RegisterCentralCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<CentralOptions>();
    CLI::App* central = app.add_subcommand(
        "central", Localize("the central PostgreSQL that stations forward their uploads to"));
    central->require_subcommand(1);
    CLI::App* init =
        central->add_subcommand("init", Localize("create or upgrade the central store's tables"));
    AddUrl(init, *o);
    CLI::App* list =
        central->add_subcommand("uploads", Localize("list every station's uploads in the central store"));
    AddUrl(list, *o);
    AddFilter(list, o);
    list->add_flag("--json", o->json, Localize("the rows as a JSON array"));
    CLI::App* exp = central->add_subcommand(
        "export", Localize("write the central store's records as one CSV, XLSX or JSON table"));
    AddUrl(exp, *o);
    AddShiftOutputOptions(*exp, o->output);
    AddFilter(exp, o);
    exp->add_option_function<std::string>(
           "--template", [o](const std::string& v) { o->templatePath = v; },
           Localize("split at this template's field separators (default: the start-up template's comma)"))
        ->type_name("T")
        ->check(kPath);
    commands.push_back({central,
                        [o, exp] {
                            if (std::string why = NoPasswordOnCommandLine(o->url); !why.empty()) return why;
                            return exp->parsed() ? ShiftOutputProblem(o->output) : std::string();
                        },
                        [o, init, list] {
                            if (init->parsed()) return RunInit(*o);
                            if (list->parsed()) return RunList(*o);
                            return RunExport(*o);
                        }});
}

}  // namespace k52::cli
