// How each terminal's transfer ended, as k52cli reports it: short failure codes, exit codes, the closing
// table and its JSON form. Pure functions of the outcomes.
#pragma once

#include <string>
#include <vector>

#include "app/TerminalJob.h"
#include "app/TransferWording.h"
#include "transfer/TransferOutcome.h"

namespace k52::cli {

// A terminal's job as k52cli reports it.
struct TerminalResult : JobResult {
    int exitCode = 0;     // what this terminal alone would have exited with
    std::string failure;  // a refusal before the transfer began (e.g. "file"); else from the outcome
    std::string refusal;  // that refusal in the user's language, for the progress lines
};

// The code of a result: its own failure when set, else its outcome's.
std::string FailureCode(const TerminalResult& result);
// 0 when all succeeded, else the exit code of the first failing terminal in the given order.
int OverallExitCode(const std::vector<TerminalResult>& results);

// One row per terminal: device, result, packets, records, seconds, message; columns aligned.
std::string ReportTable(const std::vector<TerminalResult>& results);
// A JSON array, an object per terminal in the given order, ending with a newline.
std::string ReportJson(const std::vector<TerminalResult>& results);

}  // namespace k52::cli
