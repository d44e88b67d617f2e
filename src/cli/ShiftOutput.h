// One table of records written as the office wants it, for the local and the central export alike:
// CSV (a byte-order mark and the formula guard unless told otherwise), XLSX or JSON by OUT's extension.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "app/ShiftExport.h"

namespace k52::cli {

struct ShiftOutput {
    std::string out;
    bool overwrite = false;
    bool rawCells = false;
    bool noBom = false;
};

// OUT, --overwrite, --raw-cells and --no-bom.
void AddShiftOutputOptions(CLI::App& sub, ShiftOutput& o);
// "" when OUT names a format, else why not.
std::string ShiftOutputProblem(const ShiftOutput& o);
// Writes `table` to OUT; the exit code, the failure said.
int WriteShiftOutput(const ShiftTable& table, const ShiftOutput& o);

}  // namespace k52::cli
