// uploads: the collection ledger as a table or JSON, and with --verify a check that every file it names
// is still there with the contents it had.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "link/Ledger.h"
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
    if (!hash) return "missing";
    return *hash == row.sha256 ? "ok" : "changed";
}

std::string Padded(const std::string& s, std::size_t width) {
    return s + std::string(width > s.size() ? width - s.size() : 0, ' ');
}

int RunUploads(const UploadsOptions& o) {
    std::string reason;
    std::optional<Ledger> ledger = Ledger::OpenExisting(o.folder, &reason);
    std::optional<std::vector<UploadRow>> rows;
    if (ledger) rows = ledger->List(o.since, o.terminal, &reason);
    if (!rows) {
        std::cerr << "k52cli: cannot read the ledger " << reason << "\n";
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
            if (o.verify) j["check"] = orNull(checks[i]);
            doc.push_back(std::move(j));
        }
        std::cout << doc.dump(2) << "\n";
    } else {
        std::size_t terminalWidth = 8, fileWidth = 4;
        for (const UploadRow& r : *rows) {
            terminalWidth = std::max(terminalWidth, r.terminal.size());
            fileWidth = std::max(fileWidth, r.file.size());
        }
        std::cout << Padded("started", 25) << "  " << Padded("terminal", terminalWidth) << "  records  "
                  << Padded("outcome", 11) << "  " << Padded("file", fileWidth) << (o.verify ? "  check" : "")
                  << "\n";
        for (std::size_t i = 0; i < rows->size(); ++i) {
            const UploadRow& r = (*rows)[i];
            const std::string count = std::to_string(r.records);
            std::cout << Padded(r.started, 25) << "  " << Padded(r.terminal, terminalWidth) << "  "
                      << std::string(count.size() < 7 ? 7 - count.size() : 0, ' ') << count << "  "
                      << Padded(r.outcome, 11) << "  " << Padded(r.file.empty() ? "-" : r.file, fileWidth)
                      << (o.verify ? "  " + (checks[i].empty() ? std::string("-") : checks[i]) : "") << "\n";
        }
    }
    for (std::size_t i = 0; i < rows->size(); ++i)
        if (checks[i] == "missing" || checks[i] == "changed")
            std::cerr << "k52cli: " << (*rows)[i].file
                      << (checks[i] == "missing" ? " is missing" : " differs from the upload it recorded")
                      << "\n";
    return bad > 0 ? kExitFailed : kExitOk;
}

}  // namespace

void RegisterUploadsCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<UploadsOptions>();
    CLI::App* sub = app.add_subcommand("uploads", "list the uploads that collect entered in FOLDER's ledger");
    sub->add_option("FOLDER", o->folder, "the folder collect stores into")->required()->check(kPath);
    sub->add_option("--since", o->since, "only uploads started on or after DATE (YYYY-MM-DD or ISO 8601)")
        ->type_name("DATE")
        ->check([](const std::string& v) {
            const bool date = v.size() >= 10 && v[4] == '-' && v[7] == '-' &&
                              std::all_of(v.begin(), v.begin() + 4, ::isdigit) && ::isdigit(v[5]) &&
                              ::isdigit(v[6]) && ::isdigit(v[8]) && ::isdigit(v[9]);
            return date ? std::string() : std::string("--since takes a date such as 2024-05-01");
        });
    sub->add_option("--terminal", o->terminal, "only the uploads of terminal NAME")->type_name("NAME");
    sub->add_flag("--json", o->json, "the rows as a JSON array");
    sub->add_flag("--verify", o->verify, "re-read every file; exit 1 when one is missing or changed");
    commands.push_back({sub, "uploads FOLDER [--since DATE] [--terminal NAME] [--json] [--verify]",
                        [] { return std::string(); }, [o] { return RunUploads(*o); }});
}

}  // namespace k52::cli
