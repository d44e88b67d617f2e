// What each command's file gives k52cli's command line: its subcommand with the options it declares (its
// usage line is made from them), a check of what CLI11 cannot say, and the run.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#ifdef K52_WITH_COLLECT
#include "station/Ledger.h"
#endif

namespace k52::cli {

struct Command {
    CLI::App* app = nullptr;
    std::function<std::string()> check;  // "" when the options make sense together
    std::function<int()> run;
};
using CommandList = std::vector<Command>;

#ifdef K52_WITH_COLLECT
// uploads' and export's --since, --until, --terminal and --outcome, filling `filter` (in time order).
void AddUploadFilterOptions(CLI::App& sub, UploadFilter& filter);
// collect's and deliveries' --hook-timeout S (1 to 3600 seconds), into `timeLimitMs`.
void AddHookTimeoutOption(CLI::App& sub, std::int64_t& timeLimitMs, const std::string& help);
#endif

// Refuses an empty path, which names no file.
extern const CLI::Validator kPath;

// "COM1".."COM6" (or "com1".."com6") as 0..5; throws CLI::ValidationError for anything else.
int ParseComPortOption(const std::string& text);
// Why `names` make no sense: `pattern` ("a port is named twice: %1") with the first name given twice;
// empty when none is.
std::string NamedTwice(const std::vector<std::string>& names, const char* pattern);

// Each adds its command to `app` and to `commands` (RegisterDownloadCommands adds download and
// download-lookup).
void RegisterNewCommand(CLI::App& app, CommandList& commands);
void RegisterShowCommand(CLI::App& app, CommandList& commands);
void RegisterImageCommand(CLI::App& app, CommandList& commands);
void RegisterSimulateCommand(CLI::App& app, CommandList& commands);
void RegisterDownloadCommands(CLI::App& app, CommandList& commands);
void RegisterReceiveCommand(CLI::App& app, CommandList& commands);
void RegisterImportCommand(CLI::App& app, CommandList& commands);
void RegisterDiffCommand(CLI::App& app, CommandList& commands);
void RegisterRecordsCommand(CLI::App& app, CommandList& commands);
void RegisterPortsCommand(CLI::App& app, CommandList& commands);
void RegisterSheetCommand(CLI::App& app, CommandList& commands);
void RegisterLabelsCommand(CLI::App& app, CommandList& commands);
void RegisterCollectCommand(CLI::App& app, CommandList& commands);
void RegisterUploadsCommand(CLI::App& app, CommandList& commands);
void RegisterForwardCommand(CLI::App& app, CommandList& commands);
void RegisterCentralCommand(CLI::App& app, CommandList& commands);
void RegisterExportCommand(CLI::App& app, CommandList& commands);
void RegisterDeliveriesCommand(CLI::App& app, CommandList& commands);

}  // namespace k52::cli
