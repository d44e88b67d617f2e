// How each terminal's transfer ended, as k52cli reports it: short failure codes, exit codes, the closing
// table and its JSON form. Pure functions of the outcomes.
#pragma once

#include <string>
#include <vector>

#include "link/TerminalJob.h"
#include "link/TransferOutcome.h"

namespace k52::cli {

struct TerminalResult {
    std::string device;
    TransferOutcome outcome;
    int packets = 0;      // program packets acknowledged
    int records = 0;      // lookup records sent, or records stored by a receive
    std::string file;     // the file sent or written; empty when none
    double seconds = 0;   // from the start of this terminal's transfer to its end
    long long bytes = 0;  // sent and received on the line
    std::string message;  // the last message box, "TITLE: TEXT"
    int exitCode = 0;     // what this terminal alone would have exited with
    std::string failure;  // a refusal before the transfer began (e.g. "file"); else from the outcome
};

// "port-open", "no-reply", "refused", ...; empty when the transfer succeeded.
using k52::FailureCode;
// The code of a result: its own failure when set, else its outcome's.
std::string FailureCode(const TerminalResult& result);
// The exit code a transfer with this outcome gives when it is the only one.
int ExitCodeOf(const TransferOutcome& outcome);
// 0 when all succeeded, else the exit code of the first failing terminal in the given order.
int OverallExitCode(const std::vector<TerminalResult>& results);

// One row per terminal: device, result, packets, records, seconds, message; columns aligned.
std::string ReportTable(const std::vector<TerminalResult>& results);
// A JSON array, an object per terminal in the given order, ending with a newline.
std::string ReportJson(const std::vector<TerminalResult>& results);

}  // namespace k52::cli
