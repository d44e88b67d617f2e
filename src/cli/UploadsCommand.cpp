// uploads: the collection ledger as a table or JSON, and with --verify a check that every file it names
// is still there with the contents it had.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "i18n/Translate.h"
#include "station/Ledger.h"
#include "util/Sha256.h"

namespace k52::cli {
namespace {

struct UploadsOptions {
    std::string folder, since, terminal;
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
    if (ledger) rows = ledger->List(o.since, o.terminal, &reason);
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
    if (o.json) {
        nlohmann::ordered_json doc = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < rows->size(); ++i) {
            const UploadRow& r = (*rows)[i];
            auto orNull = [](const std::string& s) {
                return s.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(s);
            };
            nlohmann::ordered_json j{{"terminal", r.terminal}, {"device", r.device},
                                     {"byId", orNull(r.byId)}, {"started", r.started},
                                     {"ended", r.ended},       {"records", r.records},
                                     {"file", orNull(r.file)}, {"sha256", orNull(r.sha256)},
                                     {"outcome", r.outcome},   {"message", r.message}};
            // The notice behind the message, the same in every language.
            j["code"] = orNull(r.code);
            j["args"] = r.args.empty() ? nlohmann::ordered_json(nullptr)
                                       : nlohmann::ordered_json::parse(r.args, nullptr, false);
            if (o.verify) j["check"] = orNull(checks[i]);
            doc.push_back(std::move(j));
        }
        std::cout << doc.dump(2) << "\n";
    } else {
        // Headers and words in the user's language; the column widths are those of the English table.
        const std::string terminal = Localize("terminal"), records = Localize("records"),
                          file = Localize("file");
        std::size_t terminalWidth = std::max<std::size_t>(8, TextWidth(terminal));
        std::size_t fileWidth = std::max<std::size_t>(4, TextWidth(file));
        for (const UploadRow& r : *rows) {
            terminalWidth = std::max(terminalWidth, TextWidth(r.terminal));
            fileWidth = std::max(fileWidth, TextWidth(r.file));
        }
        const std::size_t recordsWidth = std::max<std::size_t>(7, TextWidth(records));
        std::cout << Padded(Localize("started"), 25) << "  " << Padded(terminal, terminalWidth) << "  "
                  << Padded(records, recordsWidth) << "  " << Padded(Localize("outcome"), 11) << "  "
                  << Padded(file, fileWidth) << (o.verify ? "  " + Localize("check") : std::string());
        std::cout << "\n";
        for (std::size_t i = 0; i < rows->size(); ++i) {
            const UploadRow& r = (*rows)[i];
            const std::string count = std::to_string(r.records);
            std::cout << Padded(r.started, 25) << "  " << Padded(r.terminal, terminalWidth) << "  "
                      << std::string(recordsWidth - count.size(), ' ') << count << "  "
                      << Padded(Localize(r.outcome), 11) << "  "
                      << Padded(r.file.empty() ? "-" : r.file, fileWidth)
                      << (o.verify ? "  " + (checks[i].empty() ? std::string("-") : Localize(checks[i])) : "")
                      << "\n";
        }
    }
    for (std::size_t i = 0; i < rows->size(); ++i)
        if (checks[i] == "missing" || checks[i] == "changed")
            std::cerr << "k52cli: "
                      << (checks[i] == "missing"
                              ? Localize("%1 is missing", {(*rows)[i].file})
                              : Localize("%1 differs from the upload it recorded", {(*rows)[i].file}))
                      << "\n";
    return bad > 0 ? kExitFailed : kExitOk;
}

}  // namespace

void RegisterUploadsCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<UploadsOptions>();
    CLI::App* sub =
        app.add_subcommand("uploads", Localize("list the uploads that collect entered in FOLDER's ledger"));
    sub->add_option("FOLDER", o->folder, Localize("the folder collect stores into"))
        ->required()
        ->check(kPath);
    sub->add_option("--since", o->since,
                    Localize("only uploads started on or after DATE (YYYY-MM-DD or ISO 8601)"))
        ->type_name("DATE")
        ->check([](const std::string& v) {
            const bool date = v.size() >= 10 && v[4] == '-' && v[7] == '-' &&
                              std::all_of(v.begin(), v.begin() + 4, ::isdigit) && ::isdigit(v[5]) &&
                              ::isdigit(v[6]) && ::isdigit(v[8]) && ::isdigit(v[9]);
            return date ? std::string() : Localize("--since takes a date such as 2024-05-01");
        });
    sub->add_option("--terminal", o->terminal, Localize("only the uploads of terminal NAME"))
        ->type_name("NAME");
    sub->add_flag("--json", o->json, Localize("the rows as a JSON array"));
    sub->add_flag("--verify", o->verify,
                  Localize("re-read every file; exit 1 when one is missing or changed"));
    commands.push_back({sub, [] { return std::string(); }, [o] { return RunUploads(*o); }});
}

}  // namespace k52::cli
