// export: every record of FOLDER's uploads in a window of time as one table (CSV, XLSX or JSON), each
// with its terminal, its upload and its line in it.
#include <iostream>
#include <memory>

#include "app/ShiftExport.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "cli/ShiftOutput.h"
#include "i18n/Translate.h"
#include "station/Ledger.h"

namespace k52::cli {
namespace {

struct ExportOptions {
    std::string folder;
    UploadFilter filter;
    std::optional<std::string> templatePath;
    ShiftOutput output;
};

int RunExport(const ExportOptions& o) {
    const std::string noTemplate;
    if (int rc = MayWrite(o.output.out, K52_EN("export"),
                          {{o.templatePath ? *o.templatePath : noTemplate, K52_EN("the template")}},
                          o.output.overwrite ? Existing::Replace : Existing::Refuse);
        rc != kExitOk)
        return rc;
    ApplicationTemplate t = StartupTemplate();
    if (o.templatePath)
        if (int rc = LoadTemplate(*o.templatePath, t); rc != kExitOk) return rc;
    std::string reason;
    std::optional<Ledger> ledger = Ledger::OpenExisting(o.folder, &reason);
    std::optional<std::vector<UploadRow>> rows;
    if (ledger) rows = ledger->List(o.filter, &reason);
    if (!rows) {
        std::cerr << "k52cli: " << Localize("cannot read the ledger %1", {reason}) << "\n";
        return kExitFile;
    }
    const ShiftTable table = ReadShift(o.folder, *rows, t.fieldSeparators);
    for (const std::string& p : table.problems) std::cerr << "k52cli: " << LocalizeFinished(p) << "\n";
    if (int rc = WriteShiftOutput(table, o.output); rc != kExitOk) return rc;
    std::cout << Localize("%1 records of %2 uploads written to %3",
                          {std::to_string(table.rows.size()), std::to_string(table.uploads), o.output.out})
              << "\n";
    // A file that could not be read leaves the export short: it must not look complete.
    return table.problems.empty() ? kExitOk : kExitFailed;
}

}  // namespace

void RegisterExportCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<ExportOptions>();
    CLI::App* sub = app.add_subcommand(
        "export",
        Localize(
            "write every record of FOLDER's uploads in a window of time as one CSV, XLSX or JSON table"));
    sub->add_option("FOLDER", o->folder, Localize("the folder collect stores into"))
        ->required()
        ->check(kPath);
    AddShiftOutputOptions(*sub, o->output);
    AddUploadFilterOptions(*sub, o->filter);
    sub->add_option_function<std::string>(
           "--template", [o](const std::string& v) { o->templatePath = v; },
           Localize("split at this template's field separators (default: the start-up template's comma)"))
        ->type_name("T")
        ->check(kPath);
    commands.push_back({sub, [o] { return ShiftOutputProblem(o->output); }, [o] { return RunExport(*o); }});
}

}  // namespace k52::cli
