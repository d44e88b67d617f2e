// One terminal's transfer as k52cli runs it: its own line, clock, answers and messages, reported to a
// shared progress board; and several of them side by side.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "cli/ProgressBoard.h"
#include "cli/TransferReport.h"
#include "link/Clock.h"
#include "link/LookupData.h"
#include "link/SerialLine.h"
#include "link/TransferOutcome.h"
#include "link/TransferRequest.h"
#include "template/Template.h"

namespace k52::cli {

enum class TransferJob { Program, Lookup, Receive };

struct SessionPlan {
    TransferJob job = TransferJob::Program;
    Transport transport = Transport::Direct;
    LookupEncoding encoding = LookupEncoding::Auto;
    unsigned retries = 0;    // how many times a failed download starts again
    std::string file;        // the template or lookup file sent, or the data file written
    std::string device;      // the name the board and the report know this terminal by
    bool overwrite = false;  // a receive may replace a file that stands at `file`
    const StopFlag* stop = nullptr;
};

// Runs one transfer on `lines` and `clock` with the template `t` (its port and speed already set). Its
// message boxes and explanations go to `board` row `row`; the result is built from the outcome alone.
TerminalResult RunSession(const SessionPlan& plan, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                          ProgressBoard& board, std::size_t row);

// Calls `run(i)` for i in 0..count-1, each on a thread of its own when there are several, and returns
// once all have returned.
void RunSideBySide(std::size_t count, const std::function<void(std::size_t)>& run);

}  // namespace k52::cli
