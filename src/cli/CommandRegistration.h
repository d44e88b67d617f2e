// What each command's file gives k52cli's command line: its subcommand with the options it declares, the
// usage line shown with a usage error, a check of what CLI11 cannot say, and the run.
#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace k52::cli {

struct Command {
    CLI::App* app = nullptr;
    std::string_view usage;
    std::function<std::string()> check;  // "" when the options make sense together
    std::function<int()> run;
};
using CommandList = std::vector<Command>;

// Refuses an empty path, which names no file.
extern const CLI::Validator kPath;

// Each adds its command to `app` and to `commands` (RegisterTransferCommands adds download,
// download-lookup and receive).
void RegisterNewCommand(CLI::App& app, CommandList& commands);
void RegisterShowCommand(CLI::App& app, CommandList& commands);
void RegisterImageCommand(CLI::App& app, CommandList& commands);
void RegisterSimulateCommand(CLI::App& app, CommandList& commands);
void RegisterTransferCommands(CLI::App& app, CommandList& commands);
void RegisterImportCommand(CLI::App& app, CommandList& commands);
void RegisterDiffCommand(CLI::App& app, CommandList& commands);
void RegisterRecordsCommand(CLI::App& app, CommandList& commands);
void RegisterPortsCommand(CLI::App& app, CommandList& commands);
void RegisterCollectCommand(CLI::App& app, CommandList& commands);
void RegisterUploadsCommand(CLI::App& app, CommandList& commands);

}  // namespace k52::cli
