#include "cli/ShiftOutput.h"

#include <iostream>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"

namespace k52::cli {

void AddShiftOutputOptions(CLI::App& sub, ShiftOutput& o) {
    sub.add_option("OUT", o.out, Localize("the table to write: OUT.csv, OUT.xlsx or OUT.json"))
        ->required()
        ->check(kPath);
    sub.add_flag("--overwrite", o.overwrite, Localize("replace OUT when it exists"));
    sub.add_flag("--raw-cells", o.rawCells,
                 Localize("leave CSV cells starting with =, +, -, @, TAB or CR as received (no leading ')"));
    sub.add_flag("--no-bom", o.noBom, Localize("no UTF-8 byte-order mark at the start of a CSV file"));
}

std::string ShiftOutputProblem(const ShiftOutput& o) {
    return ShiftFormatOf(o.out) ? std::string() : Localize("OUT must end in .csv, .xlsx or .json");
}

int WriteShiftOutput(const ShiftTable& table, const ShiftOutput& o) {
    std::string reason;
    if (!WriteShiftTable(table, o.out, !o.noBom, o.rawCells ? CsvCells::Raw : CsvCells::Neutralised,
                         &reason)) {
        std::cerr << "k52cli: " << Localize("cannot write %1: %2", {o.out, reason}) << "\n";
        return kExitFile;
    }
    return kExitOk;
}

}  // namespace k52::cli
