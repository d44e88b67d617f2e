// k52cli's command line: the commands registered from one list, the dispatch to the one named, and the
// usage text, in the user's language. Each command declares its options (CLI11) in its own file and gets
// its own --help and usage line.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string_view>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "cli/HelpFormat.h"
#include "i18n/Translate.h"
#include "util/Parse.h"
#include "util/Version.h"

namespace k52::cli {

const CLI::Validator kPath(
    [](std::string& path) { return path.empty() ? Localize("an empty path names no file") : std::string(); },
    "", "non-empty");

int ParseComPortOption(const std::string& text) {
    const std::string_view v = text;
    const bool named = v.size() == 4 && (v.substr(0, 3) == "COM" || v.substr(0, 3) == "com");
    const auto n = named ? ParseUnsigned<unsigned>(v.substr(3), 6) : std::nullopt;
    if (!n || *n == 0) throw CLI::ValidationError(Localize("--port takes COM1 to COM6"));
    return static_cast<int>(*n) - 1;
}

std::string NamedTwice(const std::vector<std::string>& names, const char* pattern) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i), names[i]) !=
            names.begin() + static_cast<std::ptrdiff_t>(i))
            return Localize(pattern, {names[i]});
    return {};
}

namespace {

// In the order the help and the usage text list them.
constexpr void (*kRegistrations[])(CLI::App&, CommandList&) = {
    RegisterNewCommand,       RegisterShowCommand,    RegisterImageCommand,  RegisterSimulateCommand,
    RegisterDownloadCommands, RegisterReceiveCommand, RegisterImportCommand, RegisterDiffCommand,
    RegisterRecordsCommand,   RegisterPortsCommand,   RegisterSheetCommand,
#ifdef K52_WITH_ZINT
    RegisterLabelsCommand,
#endif
#ifdef K52_WITH_COLLECT
    RegisterCollectCommand,   RegisterUploadsCommand, RegisterExportCommand, RegisterDeliveriesCommand,
#endif
#ifdef K52_WITH_CENTRAL
    RegisterForwardCommand,   RegisterCentralCommand,
#endif
};

int UsageError(std::string_view reason, const CLI::App* command) {
    std::cerr << "k52cli: " << reason << "\n";
    if (command) std::cerr << Localize("usage: k52cli %1", {UsageLine(*command)}) << "\n";
    return kExitUsage;
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv) {
    CLI::App app(Localize("k52cli: the K52 Application Generator's engine from the command line."), "k52cli");
    app.require_subcommand(1);
    // CLI11 would take "/data/plan.ATC" for a Windows-style option on Windows: options are -x and --xx
    // everywhere, so that a rooted path is a path (set before the commands, which copy it).
    app.allow_windows_style_options(false);
    app.footer(Localize(
        "Run 'k52cli COMMAND --help' for a command's options.\n"
        "Exit codes: 0 success, 1 the operation ran and failed, 2 bad usage, 3 a file could not be read or\n"
        "written, 4 the serial port could not be opened or prepared, 5 a template file was refused,\n"
        "6 stopped by Ctrl+C, SIGTERM or SIGHUP (what was acknowledged is kept)."));
    LocalizeHelp(app);
    CommandList commands;
    for (auto registration : kRegistrations) registration(app, commands);
    GroupHelpFlags(app);

    auto printUsage = [&] {
        std::cerr << Localize("usage: k52cli %1", {"COMMAND ..."}) << "\n";
        for (const Command& c : commands) std::cerr << "  k52cli " << UsageLine(*c.app) << "\n";
        return kExitUsage;
    };
    if (argc < 2) return printUsage();
    const std::string_view name = argv[1];
    if (name == "--version") {
        std::cout << VersionLine("k52cli") << "\n";
        return kExitOk;
    }
    if (name == "help") {
        std::cout << app.help();
        return kExitOk;
    }
#ifndef K52_WITH_COLLECT
    if (name == "collect" || name == "uploads") {
        std::cerr << "k52cli: "
                  << Localize("'%1' is not in this build: the collection station runs on Linux only", {name})
                  << "\n";
        return kExitUsage;
    }
#endif
    const bool known = std::any_of(commands.begin(), commands.end(),
                                   [&](const Command& c) { return c.app->get_name() == name; });
    if (!known && name != "-h" && name != "--help") {
        std::cerr << "k52cli: "
                  << (!name.empty() && name[0] == '-' ? Localize("unknown option '%1'", {name})
                                                      : Localize("unknown command '%1'", {name}))
                  << "\n";
        return printUsage();
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        const std::string why = LocalizeFinished(e.what());
        for (const Command& c : commands)
            if (c.app->parsed()) return UsageError(why, c.app);
        UsageError(why, nullptr);
        return printUsage();
    }
    for (const Command& c : commands) {
        if (!c.app->parsed()) continue;
        if (c.check)
            if (std::string why = c.check(); !why.empty()) return UsageError(why, c.app);
        const int rc = c.run();
        // What a command printed must have reached its reader; a full disk is no success.
        if (int written = FinishStdout(); written != kExitOk) return written;
        return rc;
    }
    return printUsage();
}

}  // namespace k52::cli
