// records: a received data file decoded from CP950 and split at the template's separators, printed as
// a table or JSON rows, or written as CSV.
#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "template/RecordTable.h"

namespace k52::cli {
namespace {

struct RecordsOptions {
    std::string file;                         // the data file, as received
    std::optional<std::string> templatePath;  // whose separators split the records
    std::optional<std::string> csvOut;        // "-" for standard output
    bool json = false;
    bool overwrite = false;  // replace an existing CSV file
    bool rawCells = false;   // CSV cells as they are, formulas and all
};

void PrintTable(const RecordTable& table, std::ostream& out) {
    std::vector<std::vector<std::string>> cells;
    std::vector<std::size_t> widths(table.columnCount(), 0);
    for (const RecordRow& row : table.rows) {
        std::vector<std::string>& line = cells.emplace_back();
        for (std::size_t c = 0; c < row.fields.size(); ++c) {
            line.push_back(Printable(row.fields[c]));  // control characters shown, not obeyed
            widths[c] = std::max(widths[c], TextWidth(line.back()));
        }
    }
    const std::size_t numberWidth = std::to_string(table.rows.size()).size();
    for (std::size_t r = 0; r < cells.size(); ++r) {
        std::string number = std::to_string(r + 1);
        std::string text = std::string(numberWidth - number.size(), ' ') + number;
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            text += "  " + cells[r][c];
            // No padding behind the last field of a row.
            if (c + 1 < cells[r].size()) text.append(widths[c] - TextWidth(cells[r][c]), ' ');
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << "\n";
    }
}

void PrintJson(const RecordTable& table, std::ostream& out) {
    out << "[";
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        out << (r ? ",\n " : "\n ") << nlohmann::json(table.rows[r].fields).dump();
    out << (table.rows.empty() ? "]\n" : "\n]\n");
}

int RunRecords(const RecordsOptions& options) {
    const bool csvFile = options.csvOut && *options.csvOut != "-";
    if (csvFile) {
        const std::string noTemplate;
        const std::string& templatePath = options.templatePath ? *options.templatePath : noTemplate;
        if (int rc =
                MayWrite(*options.csvOut, K52_EN("CSV"),
                         {{options.file, K52_EN("the data file")}, {templatePath, K52_EN("the template")}},
                         options.overwrite ? Existing::Replace : Existing::Refuse);
            rc != kExitOk)
            return rc;
    }
    ApplicationTemplate t = StartupTemplate();  // the comma, as the desktop program starts with
    if (options.templatePath)
        if (int rc = LoadTemplate(*options.templatePath, t); rc != kExitOk) return rc;
    const std::optional<std::string> bytes = ReadInputFile(options.file, kRecordFileLimit);
    if (!bytes) return kExitFile;
    const RecordTable table = ReadRecordTable(*bytes, t.fieldSeparators);
    if (options.csvOut) {
        const std::string csv =
            RecordTableCsv(table, options.rawCells ? CsvCells::Raw : CsvCells::Neutralised);
        if (!csvFile) {
            std::cout << csv;
        } else {
            if (int rc = SaveOutputFile(*options.csvOut, csv.data(), csv.size()); rc != kExitOk) return rc;
            if (!options.json)
                std::cout << Localize("%1 records written to %2",
                                      {std::to_string(table.rows.size()), *options.csvOut})
                          << "\n";
        }
    }
    if (options.json)
        PrintJson(table, std::cout);
    else if (!options.csvOut)
        PrintTable(table, std::cout);
    return kExitOk;
}

}  // namespace

void RegisterRecordsCommand(CLI::App& app, CommandList& commands) {
    auto o = std::make_shared<RecordsOptions>();
    CLI::App* sub =
        app.add_subcommand("records", Localize("print received records as a table, JSON rows or CSV"));
    sub->add_option("FILE", o->file, Localize("the data file as received"))->required()->check(kPath);
    sub->add_option_function<std::string>(
           "--template", [o](const std::string& v) { o->templatePath = v; },
           Localize("split at this template's field separators (default: the start-up template's comma)"))
        ->type_name("T")
        ->check(kPath);
    sub->add_option_function<std::string>(
           "--csv", [o](const std::string& v) { o->csvOut = v; },
           Localize("write the records as CSV (UTF-8) to OUT ('-' for standard output)"))
        ->type_name("OUT")
        ->check(kPath);
    sub->add_flag("--json", o->json, Localize("the records as JSON rows"));
    sub->add_flag("--overwrite", o->overwrite, Localize("replace the CSV file OUT when it exists"));
    sub->add_flag("--raw-cells", o->rawCells,
                  Localize("leave CSV cells starting with =, +, -, @, TAB or CR as received (no leading ')"));
    commands.push_back({sub,
                        [o] {
                            return std::string(
                                o->json && o->csvOut == "-"
                                    ? Localize("--csv - and --json both write to standard output")
                                    : "");
                        },
                        [o] { return RunRecords(*o); }});
}

}  // namespace k52::cli
