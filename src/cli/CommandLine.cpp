// k52cli's command line: the commands registered from one list, the dispatch to the one named, and the
// usage text, in the user's language. Each command declares its options (CLI11) in its own file and gets
// its own --help.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string_view>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "cli/Commands.h"
#include "i18n/Translate.h"

namespace k52::cli {

const CLI::Validator kPath(
    [](std::string& path) { return path.empty() ? Localize("an empty path names no file") : std::string(); },
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

// CLI11's own messages and words, marked here so that they are shown in the user's language too.
[[maybe_unused]] constexpr const char* kCli11Messages[] = {
    K52_EN("%1 is required"),
    K52_EN("%1 excludes %2"),
    K52_EN("%1: %2 required %3 missing"),
    K52_EN("The following argument was not expected: %1"),
    K52_EN("The following arguments were not expected: %1"),
};
constexpr const char* kCli11Labels[] = {
    K52_EN("Usage"),    K52_EN("OPTIONS"), K52_EN("SUBCOMMAND"), K52_EN("Positionals"),
    K52_EN("REQUIRED"), K52_EN("TEXT"),    K52_EN("Excludes"),
};

// CLI11's help with its words in the user's language, and the descriptions in one column even when the
// left column holds ideographs, which take two columns for their three bytes.
class HelpFormatter : public CLI::Formatter {
  public:
    HelpFormatter() {
        for (const char* label : kCli11Labels) this->label(label, Localize(label));
    }
    std::string make_option(const CLI::Option* opt, bool positional) const override {
        const std::string name = "  " + make_option_name(opt, positional) + make_option_opts(opt);
        const std::string description = make_option_desc(opt);
        const std::string indent(column_width_, ' ');
        std::string out = Padded(name, column_width_);
        if (!description.empty()) {
            if (TextWidth(name) >= column_width_) out += "\n" + indent;
            for (char c : description) out += c == '\n' ? "\n" + indent : std::string(1, c);
        }
        return out + "\n";
    }
};

void LocalizeHelp(CLI::App& app) {
    app.formatter(std::make_shared<HelpFormatter>());
    // The groups and the help flag's words are given before the commands copy them.
    app.group(Localize("Subcommands"));
    app.option_defaults()->group(Localize("Options"));
    app.set_help_flag("-h,--help", Localize("Print this help message and exit"));
}

// A command's help flag is made before it copies the option defaults: it joins its options' group here.
void GroupHelpFlags(CLI::App& app) {
    for (CLI::App* sub : app.get_subcommands({})) {
        if (CLI::Option* help = sub->get_help_ptr()) help->group(Localize("Options"));
        GroupHelpFlags(*sub);
    }
}

int UsageError(std::string_view reason, std::string_view usage) {
    std::cerr << "k52cli: " << reason << "\n";
    if (!usage.empty()) std::cerr << Localize("usage: k52cli %1", {usage}) << "\n";
    return kExitUsage;
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv) {
    CLI::App app(Localize("k52cli: the K52 Application Generator's engine from the command line."), "k52cli");
    app.require_subcommand(1);
    app.footer(Localize(
        "Run 'k52cli COMMAND --help' for a command's options.\n"
        "Exit codes: 0 success, 1 the operation ran and failed, 2 bad usage, 3 a file could not be read or\n"
        "written, 4 the serial port could not be opened or prepared, 5 a template file was refused."));
    LocalizeHelp(app);
    CommandList commands;
    for (auto registration : kRegistrations) registration(app, commands);
    GroupHelpFlags(app);

    auto printUsage = [&] {
        std::cerr << Localize("usage: k52cli %1", {"COMMAND ..."}) << "\n";
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
        std::cerr << "k52cli: "
                  << (!name.empty() && name[0] == '-' ? Localize("unknown option '%1'", {name})
                                                      : Localize("unknown command '%1'", {name}))
                  << "\n";
        printUsage();
        return kExitUsage;
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        const std::string why = LocalizeFinished(e.what());
        for (const Command& c : commands)
            if (c.app->parsed()) return UsageError(why, c.usage);
        UsageError(why, "");
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
