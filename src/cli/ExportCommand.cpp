// export: every record of FOLDER's uploads in a window of time as one table (CSV, XLSX or JSON), each
// with its terminal, its upload and its line in it.
#include <iostream>
#include <memory>

#include "app/ShiftExport.h"
#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "i18n/Translate.h"
#include "station/Ledger.h"

namespace k52::cli {
namespace {

struct ExportOptions {
    std::string folder, out;
    UploadFilter filter;
    std::optional<std::string> templatePath;
    bool overwrite = false;
    bool rawCells = false;
    bool noBom = false;
};

int RunExport(const ExportOptions& o) {
    const std::optional<ShiftFormat> format = ShiftFormatOf(o.out);
    const std::string noTemplate;
    if (int rc = MayWrite(o.out, K52_EN("export"),
                          {{o.templatePath ? *o.templatePath : noTemplate, K52_EN("the template")}},
                          o.overwrite ? Existing::Replace : Existing::Refuse);
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
    if (*format == ShiftFormat::Xlsx) {
        if (!WriteShiftXlsx(table, o.out, &reason)) {
            std::cerr << "k52cli: " << Localize("cannot write %1: %2", {o.out, reason}) << "\n";
            return kExitFile;
        }
    } else {
        const std::string text =
            *format == ShiftFormat::Csv
                ? ShiftCsv(table, !o.noBom, o.rawCells ? CsvCells::Raw : CsvCells::Neutralised)
                : ShiftJson(table);
        if (int rc = SaveOutputFile(o.out, text.data(), text.size()); rc != kExitOk) return rc;
    }
    std::cout << Localize("%1 records of %2 uploads written to %3",
                          {std::to_string(table.rows.size()), std::to_string(table.uploads), o.out})
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
    sub->add_option("OUT", o->out, Localize("the table to write: OUT.csv, OUT.xlsx or OUT.json"))
        ->required()
        ->check(kPath);
    AddUploadFilterOptions(*sub, o->filter);
    sub->add_option_function<std::string>(
           "--template", [o](const std::string& v) { o->templatePath = v; },
           Localize("split at this template's field separators (default: the start-up template's comma)"))
        ->type_name("T")
        ->check(kPath);
    sub->add_flag("--overwrite", o->overwrite, Localize("replace OUT when it exists"));
    sub->add_flag("--raw-cells", o->rawCells,
                  Localize("leave CSV cells starting with =, +, -, @, TAB or CR as received (no leading ')"));
    sub->add_flag("--no-bom", o->noBom, Localize("no UTF-8 byte-order mark at the start of a CSV file"));
    commands.push_back({sub,
                        [o] {
                            return std::string(ShiftFormatOf(o->out)
                                                   ? ""
                                                   : Localize("OUT must end in .csv, .xlsx or .json"));
                        },
                        [o] { return RunExport(*o); }});
}

}  // namespace k52::cli
