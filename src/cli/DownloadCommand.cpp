// download and download-lookup: a template or lookup data to one terminal or several side by side.
#include <memory>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/LookupLayoutCheck.h"
#include "cli/TerminalRuns.h"
#include "i18n/Translate.h"

namespace k52::cli {
namespace {

int RunDownload(const TransferOptions& o) {
    ApplicationTemplate t{};
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    return RunTerminals(o, JobKind::Program, t, std::vector<std::string>(o.terminals.size(), o.file), {});
}

int RunDownloadLookup(const TransferOptions& o) {
    // COM1 at 115200 unless told otherwise
    return RunTerminals(o, JobKind::Lookup, StartupTemplate(),
                        std::vector<std::string>(o.terminals.size(), o.file), {});
}

}  // namespace

void RegisterDownloadCommands(CLI::App& app, CommandList& commands) {
    auto download = std::make_shared<TransferOptions>();
    CLI::App* sub = app.add_subcommand("download", Localize("download a template to a terminal"));
    AddTerminalOptions(*sub, *download, true, "FILE", Localize("the template file"));
    commands.push_back({sub, [download] { return CheckTerminals(*download); },
                        [download] { return RunDownload(*download); }});

    auto lookup = std::make_shared<TransferOptions>();
    sub = app.add_subcommand("download-lookup",
                             Localize("download lookup data (one record a line) to a terminal"));
    AddTerminalOptions(*sub, *lookup, true, "DATA", Localize("the lookup data file"));
    sub->add_option_function<std::string>(
           "--encoding",
           [lookup](const std::string& v) {
               const auto e = ParseLookupEncoding(v);
               if (!e) throw CLI::ValidationError(Localize("--encoding takes auto, utf-8 or cp950"));
               lookup->encoding = *e;
           },
           Localize("how the file is written: auto (UTF-8 when it holds UTF-8 characters, else CP950), utf-8 "
                    "or cp950"))
        ->type_name("auto|utf-8|cp950");
    sub->add_flag("--allow-empty", lookup->allowEmpty,
                  Localize("send a file without records, which empties the terminal's lookup data"));
    AddLookupLayoutOptions(*sub, *lookup);
    commands.push_back({sub, [lookup] { return CheckTerminals(*lookup); },
                        [lookup] {
                            const int rc = CheckLookupLayoutFirst(*lookup);
                            return rc != kExitOk ? rc : RunDownloadLookup(*lookup);
                        }});
}

}  // namespace k52::cli
