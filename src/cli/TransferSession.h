// One terminal's transfer as k52cli runs it: the shared terminal job, reported on a row of the shared
// progress board; and several of them side by side.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "cli/ProgressBoard.h"
#include "cli/TransferReport.h"
#include "link/TerminalJob.h"

namespace k52::cli {

using TransferJob = JobKind;
using SessionPlan = TerminalJob;

// Runs one transfer on `lines` and `clock` with the template `t` (its port and speed already set). Its
// message boxes and explanations go to `board` row `row`; the result is built from the outcome alone.
TerminalResult RunSession(const SessionPlan& plan, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                          ProgressBoard& board, std::size_t row);

// Calls `run(i)` for i in 0..count-1, each on a thread of its own when there are several, and returns
// once all have returned.
void RunSideBySide(std::size_t count, const std::function<void(std::size_t)>& run);

}  // namespace k52::cli
