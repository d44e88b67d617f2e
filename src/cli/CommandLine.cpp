// k52cli's command line: each command declares its options (CLI11) and gets its own --help.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <functional>
#include <iostream>
#include <string_view>
#include <vector>

#include "cli/Commands.h"
#include "cli/cmd_records.h"
#include "ports/PortAssignments.h"
#include "ports/PortDiscovery.h"
#include "protocol/LineSpeeds.h"
#include "util/Parse.h"

namespace k52::cli {
namespace {

// A command's options, the usage line shown with a usage error, a check of what CLI11 cannot say
// (options that go together), and the run.
struct Command {
    CLI::App* app = nullptr;
    std::string_view usage;
    std::function<std::string()> check;  // "" when the options make sense together
    std::function<int()> run;
};

const CLI::Validator kPath(
    [](std::string& path) {
        return path.empty() ? std::string("an empty path names no file") : std::string();
    },
    "", "non-empty");

std::optional<int> ComPortIndex(std::string_view text) {
    if (text.size() != 4 || (text.substr(0, 3) != "COM" && text.substr(0, 3) != "com")) return std::nullopt;
    const auto n = ParseUnsigned<unsigned>(text.substr(3), 6);
    if (!n || *n == 0) return std::nullopt;
    return static_cast<int>(*n) - 1;
}

void AddTransferOptions(CLI::App& sub, TransferOptions& o, bool withRetries, const char* fileHelp) {
    sub.add_option("FILE", o.file, fileHelp)->required()->check(kPath);
    // Each occurrence is taken as it is parsed, so --device and --port keep their command-line order.
    sub.add_option_function<std::string>(
           "--device",
           [&o](const std::string& v) {
               o.terminals.push_back({v, std::nullopt});
           },
           "the serial device or pseudo-terminal to use (as often as needed)")
        ->type_name("PATH")
        ->check(kPath)
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    sub.add_option_function<std::string>(
           "--port",
           [&o](const std::string& v) {
               const auto index = ComPortIndex(v);
               if (!index) throw CLI::ValidationError("--port takes COM1 to COM6");
               o.terminals.push_back({std::nullopt, index});
           },
           "a port name, COM1..COM6 (K52_COMn names its device; as often as needed)")
        ->type_name("COMn")
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    sub.add_flag("--ir", o.ir, "through the infrared cradle");
    sub.add_option_function<std::string>(
           "--speed",
           [&o](const std::string& v) {
               const auto bps = ParseUnsigned<std::uint32_t>(v);
               o.baudRate = bps ? BaudRateOfSpeed(*bps) : std::nullopt;
               if (!o.baudRate)
                   throw CLI::ValidationError("--speed takes 9600, 19200, 38400, 57600 or 115200");
           },
           "the line speed instead of the template's")
        ->type_name("BPS");
    if (withRetries)
        sub.add_option_function<std::string>(
               "--retries",
               [&o](const std::string& v) {
                   const auto n = ParseUnsigned<unsigned>(v, 1000000);
                   if (!n) throw CLI::ValidationError("--retries takes a number");
                   o.retries = *n;
               },
               "answer Yes N times to the question whether to try again (for each terminal)")
            ->type_name("N");
    sub.add_flag("--quiet", o.quiet, "no progress lines");
    sub.add_flag("--json", o.json, "end with a JSON array on standard output, an object per terminal");
}

std::string DeviceOrPort(const TransferOptions& o) {
    if (o.terminals.empty()) return "give either --device PATH or --port COMn";
    for (std::size_t i = 0; i < o.terminals.size(); ++i)
        for (std::size_t k = 0; k < i; ++k)
            if (o.terminals[i].device == o.terminals[k].device &&
                o.terminals[i].comPort == o.terminals[k].comPort)
                return "a terminal is named twice: " +
                       (o.terminals[i].device ? *o.terminals[i].device
                                              : "COM" + std::to_string(*o.terminals[i].comPort + 1));
    return "";
}

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

    NewOptions newOptions;
    ShowOptions showOptions;
    ImageOptions imageOptions;
    SimulateOptions simulateOptions;
    TransferOptions downloadOptions, lookupOptions, receiveOptions;
    std::vector<Command> commands;

    CLI::App* sub = app.add_subcommand("new", "write the template the desktop program starts with");
    sub->add_option("OUT", newOptions.out, "the template file to write")->required()->check(kPath);
    commands.push_back({sub, "new OUT", {}, [&] { return CmdNew(newOptions); }});

    sub = app.add_subcommand("show", "print what a template holds");
    sub->add_option("FILE", showOptions.file, "the template file")->required()->check(kPath);
    sub->add_flag("--json", showOptions.json, "every field as JSON");
    commands.push_back({sub, "show FILE [--json]", {}, [&] { return CmdShow(showOptions); }});

    sub = app.add_subcommand("image", "write a template's 10500-byte download image");
    sub->add_option("FILE", imageOptions.file, "the template file")->required()->check(kPath);
    sub->add_option("OUT", imageOptions.out, "the image file to write")->required()->check(kPath);
    commands.push_back({sub, "image FILE OUT", {}, [&] { return CmdImage(imageOptions); }});

    sub = app.add_subcommand("simulate", "run the simulated terminal and print its display after some keys");
    SimulateOptions& so = simulateOptions;
    sub->add_option("FILE", so.file, "the template file")->required()->check(kPath);
    auto* keys = sub->add_option("--keys", so.keys,
                                 "keypad codes 1..20 or 51 (restart), and tN for N ticks of 100 ms, "
                                 "separated by spaces or commas");
    sub->add_option_function<std::string>(
           "--keys-file", [&so](const std::string& v) { so.keysFile = v; },
           "read the keys from FILE ('-' for standard input)")
        ->type_name("FILE")
        ->check(kPath)
        ->excludes(keys);
    sub->add_option_function<std::string>(
           "--time", [&so](const std::string& v) { so.time = v; }, "fix the clock at \"YYYY-MM-DD HH:MM\"")
        ->type_name("TIME");
    sub->add_flag("--fresh", so.fresh, "as right after start-up, without applying the template first");
    sub->add_flag("--json", so.json, "the display and state as JSON");
    sub->add_option_function<std::string>(
           "--save", [&so](const std::string& v) { so.save = v; },
           "write the template with its run state afterwards")
        ->type_name("OUT")
        ->check(kPath);
    commands.push_back(
        {sub,
         "simulate FILE [--keys KEYS | --keys-file FILE] [--time \"YYYY-MM-DD HH:MM\"] [--fresh] "
         "[--json] [--save OUT]",
         {},
         [&] { return CmdSimulate(simulateOptions); }});

    sub = app.add_subcommand("download", "download a template to a terminal");
    AddTransferOptions(*sub, downloadOptions, true, "the template file");
    commands.push_back({sub,
                        "download FILE (--device PATH | --port COMn)... [--ir] [--speed BPS] [--retries N] "
                        "[--quiet] [--json]",
                        [&] { return DeviceOrPort(downloadOptions); },
                        [&] { return CmdDownload(downloadOptions); }});

    sub = app.add_subcommand("download-lookup", "download lookup data (one record a line) to a terminal");
    AddTransferOptions(*sub, lookupOptions, true, "the lookup data file");
    sub->add_option_function<std::string>(
           "--encoding",
           [&lo = lookupOptions](const std::string& v) {
               const auto e = ParseLookupEncoding(v);
               if (!e) throw CLI::ValidationError("--encoding takes auto, utf-8 or cp950");
               lo.encoding = *e;
           },
           "how the file is written: auto (UTF-8 when it holds UTF-8 characters, else CP950), utf-8 or cp950")
        ->type_name("ENC");
    commands.push_back(
        {sub,
         "download-lookup DATA (--device PATH | --port COMn)... [--ir] [--speed BPS] [--retries N] "
         "[--encoding auto|utf-8|cp950] [--quiet] [--json]",
         [&] { return DeviceOrPort(lookupOptions); }, [&] { return CmdDownloadLookup(lookupOptions); }});

    sub = app.add_subcommand("receive", "receive the records a terminal collected");
    AddTransferOptions(*sub, receiveOptions, false,
                       "the file to store the records in (a folder with several terminals)");
    sub->add_flag("--overwrite", receiveOptions.overwrite, "replace OUT when it exists");
    commands.push_back(
        {sub,
         "receive OUT (--device PATH | --port COMn)... [--ir] [--speed BPS] [--overwrite] [--quiet] [--json]",
         [&] { return DeviceOrPort(receiveOptions); }, [&] { return CmdReceive(receiveOptions); }});

    std::string importIn, importOut, diffA, diffB;
    bool normalise = false, diffJson = false;
    sub = app.add_subcommand("import", "build a template file from its JSON text");
    sub->add_option("IN", importIn, "the template as JSON (as show --json prints it)")
        ->required()
        ->check(kPath);
    sub->add_option("OUT", importOut, "the template file to write")->required()->check(kPath);
    sub->add_flag("--normalise", normalise, "normalise the forms as the editor would before saving");
    commands.push_back({sub, "import IN.json OUT.ATC [--normalise]", {}, [&] {
                            return RunImport(importIn, importOut, normalise);
                        }});

    sub = app.add_subcommand("diff", "list the fields two templates differ in (exit 1 when they differ)");
    sub->add_option("A", diffA, "a template file or its JSON text")->required()->check(kPath);
    sub->add_option("B", diffB, "a template file or its JSON text")->required()->check(kPath);
    sub->add_flag("--json", diffJson, "the differences as a JSON array");
    commands.push_back({sub, "diff A B [--json]", {}, [&] { return RunDiff(diffA, diffB, diffJson); }});

    RecordsOptions recordsOptions;
    sub = app.add_subcommand("records", "print received records as a table, JSON rows or CSV");
    sub->add_option("FILE", recordsOptions.file, "the data file as received")->required()->check(kPath);
    sub->add_option_function<std::string>(
           "--template", [&recordsOptions](const std::string& v) { recordsOptions.templatePath = v; },
           "split at this template's field separators (default: the start-up template's comma)")
        ->type_name("T")
        ->check(kPath);
    auto* csv = sub->add_option_function<std::string>(
        "--csv", [&recordsOptions](const std::string& v) { recordsOptions.csvOut = v; },
        "write the records as CSV (UTF-8) to OUT ('-' for standard output)");
    csv->type_name("OUT")->check(kPath);
    sub->add_flag("--json", recordsOptions.json, "the records as JSON rows");
    commands.push_back({sub, "records FILE [--template T] [--csv OUT] [--json]",
                        [&] {
                            return recordsOptions.json && recordsOptions.csvOut == "-"
                                       ? "--csv - and --json both write to standard output"
                                       : "";
                        },
                        [&] { return RunRecords(recordsOptions); }});

    bool portsJson = false;
    std::string assignPort, assignDevice, unassignPort;
    sub = app.add_subcommand("ports", "list serial ports and which device COM1..COM6 stand for");
    sub->add_flag("--json", portsJson, "the ports and the COM table as JSON");
    CLI::App* assign = sub->add_subcommand("assign", "make COMn stand for DEVICE (kept in ports.conf)");
    assign->add_option("COMn", assignPort, "COM1..COM6")->required();
    assign->add_option("DEVICE", assignDevice, "the device, plugged in or not")->required()->check(kPath);
    CLI::App* unassign = sub->add_subcommand("unassign", "let COMn stand for its default device again");
    unassign->add_option("COMn", unassignPort, "COM1..COM6")->required();
    sub->require_subcommand(0, 1);
    commands.push_back({sub, "ports [--json] | ports assign COMn DEVICE | ports unassign COMn",
                        [&] {
                            const std::string& port = assign->parsed() ? assignPort : unassignPort;
                            if ((assign->parsed() || unassign->parsed()) && !ParseComPortName(port))
                                return std::string("COMn is COM1 to COM6");
                            return std::string();
                        },
                        [&] {
                            if (assign->parsed())
                                return PortsAssign(*ParseComPortName(assignPort), assignDevice, std::cout,
                                                   std::cerr);
                            if (unassign->parsed())
                                return PortsUnassign(*ParseComPortName(unassignPort), std::cout, std::cerr);
                            SystemPortScanner scanner;
                            return PortsList(scanner, portsJson, std::cout, std::cerr);
                        }});

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
        return c.run();
    }
    printUsage();
    return kExitUsage;
}

}  // namespace k52::cli
