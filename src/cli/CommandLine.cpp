// k52cli's command line: the commands registered from one list, the dispatch to the one named, and the
// usage text. Each command declares its options (CLI11) in its own file and gets its own --help.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string_view>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"

namespace k52::cli {

const CLI::Validator kPath(
    [](std::string& path) {
        return path.empty() ? std::string("an empty path names no file") : std::string();
    },
    "", "non-empty");

namespace {

// In the order the help and the usage text list them.
constexpr void (*kRegistrations[])(CLI::App&, CommandList&) = {
    RegisterNewCommand,      RegisterShowCommand,      RegisterImageCommand,
    RegisterSimulateCommand, RegisterTransferCommands, RegisterImportCommand,
    RegisterDiffCommand,     RegisterRecordsCommand,   RegisterPortsCommand,
#ifdef K52_WITH_COLLECT
    RegisterCollectCommand,  RegisterUploadsCommand,
#endif
};

int UsageError(std::string_view reason, std::string_view usage) {
    std::cerr << "k52cli: " << reason << "\n";
    if (!usage.empty()) std::cerr << "usage: k52cli " << usage << "\n";
    return kExitUsage;
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv) {
    CLI::App app("k52cli: the K52 Application Generator's engine from the command line.", "k52cli");
    app.require_subcommand(1);
    app.footer(
        "Run 'k52cli COMMAND --help' for a command's options.\n"
        "Exit codes: 0 success, 1 the operation ran and failed, 2 bad usage, 3 a file could not be read or\n"
        "written, 4 the serial port could not be opened or prepared, 5 a template file was refused.");
    CommandList commands;
    for (auto registration : kRegistrations) registration(app, commands);

    auto printUsage = [&] {
        std::cerr << "usage: k52cli COMMAND ...\n";
        for (const Command& c : commands) std::cerr << "  k52cli " << c.usage << "\n";
    };
    if (argc < 2) {
        printUsage();
        return kExitUsage;
    }
    const std::string_view name = argv[1];
    if (name == "help") {
        std::cout << app.help();
        return kExitOk;
    }
    const bool known = std::any_of(commands.begin(), commands.end(),
                                   [&](const Command& c) { return c.app->get_name() == name; });
    if (!known && name != "-h" && name != "--help") {
        std::cerr << "k52cli: unknown " << (!name.empty() && name[0] == '-' ? "option" : "command") << " '"
                  << name << "'\n";
        printUsage();
        return kExitUsage;
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        for (const Command& c : commands)
            if (c.app->parsed()) return UsageError(e.what(), c.usage);
        UsageError(e.what(), "");
        printUsage();
        return kExitUsage;
    }
    for (const Command& c : commands) {
        if (!c.app->parsed()) continue;
        if (c.check)
            if (std::string why = c.check(); !why.empty()) return UsageError(why, c.usage);
        const int rc = c.run();
        // What a command printed must have reached its reader; a full disk is no success.
        if (int written = FinishStdout(); written != kExitOk) return written;
        return rc;
    }
    printUsage();
    return kExitUsage;
}

}  // namespace k52::cli
