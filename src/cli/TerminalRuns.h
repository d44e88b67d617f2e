// What download, download-lookup and receive share: their options, one terminal's job on a row of the
// progress board, several of them side by side, and the closing report.
#pragma once

#include <CLI/CLI.hpp>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/TerminalJob.h"
#include "cli/Commands.h"
#include "cli/ProgressBoard.h"
#include "cli/TransferReport.h"

namespace k52::cli {

// The options the three commands share: FILE, --device/--port (in command-line order), --ir, --speed,
// --retries (downloads), --quiet, --json.
// `file` names the positional ("FILE", "DATA", "OUT") and says what it is.
void AddTerminalOptions(CLI::App& sub, TransferOptions& o, bool withRetries, const std::string& file,
                        const std::string& fileHelp);
// Why the terminals named make no sense (none, or one twice); empty when they do.
std::string CheckTerminals(const TransferOptions& o);

// Runs one transfer on `lines` and `clock` with the template `t` (its port and speed already set). Its
// notices and notes go to `board` row `row`; the result is built from the outcome alone.
TerminalResult RunSession(const TerminalJob& job, ApplicationTemplate t, LineFactory& lines, Clock& clock,
                          ProgressBoard& board, std::size_t row);

// Calls `run(i)` for i in 0..count-1, each on a thread of its own when there are several, and returns
// once all have returned.
void RunSideBySide(std::size_t count, const std::function<void(std::size_t)>& run);

// The command for every terminal named, side by side, with progress lines and the closing report.
// `files` holds what each terminal sends or writes; a terminal whose entry in `refused` is set was
// settled before (its result says why).
int RunTerminals(const TransferOptions& o, JobKind kind, const ApplicationTemplate& base,
                 const std::vector<std::string>& files, std::vector<TerminalResult> results);

// The device each terminal of `o` names, in order.
std::vector<std::string> DeviceNames(const TransferOptions& o);

}  // namespace k52::cli
