// records: a received data file read as a table, for people and for scripts.
#pragma once

#include <optional>
#include <string>

#include "cli/Commands.h"

namespace k52::cli {

struct RecordsOptions {
    std::string file;                         // the data file, as received
    std::optional<std::string> templatePath;  // whose separators split the records
    std::optional<std::string> csvOut;        // "-" for standard output
    bool json = false;
};

// Prints the records as a table on standard output, or as JSON rows; writes CSV when asked.
int RunRecords(const RecordsOptions& options);

}  // namespace k52::cli
