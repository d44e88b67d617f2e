// k52cli: the generator's engine from the command line.
#include <cstring>
#include <iostream>
#include <string_view>

#include "cli/Commands.h"
#include "ports/PortAssignments.h"
#include "ports/PortDiscovery.h"

namespace {

const char kPortsUsage[] = "ports [--json] | ports assign COMn DEVICE | ports unassign COMn";

int CmdPorts(const k52::cli::Args& args) {
    using namespace k52::cli;
    if (args.empty() || (args.size() == 1 && args[0] == "--json")) {
        k52::SystemPortScanner scanner;
        return PortsList(scanner, !args.empty(), std::cout, std::cerr);
    }
    const auto port = args.size() >= 2 ? k52::ParseComPortName(args[1]) : std::nullopt;
    if (port && args[0] == "assign" && args.size() == 3)
        return PortsAssign(*port, args[2], std::cout, std::cerr);
    if (port && args[0] == "unassign" && args.size() == 2) return PortsUnassign(*port, std::cout, std::cerr);
    std::cerr << "usage: k52cli " << kPortsUsage << "\n";
    return kExitUsage;
}

struct Command {
    std::string_view name;
    int (*run)(const k52::cli::Args&);
    std::string_view usage;
};

const Command kCommands[] = {
    {"new", k52::cli::CmdNew, "new OUT"},
    {"show", k52::cli::CmdShow, "show FILE [--json]"},
    {"image", k52::cli::CmdImage, "image FILE OUT"},
    {"simulate", k52::cli::CmdSimulate,
     "simulate FILE [--keys KEYS] [--time \"YYYY-MM-DD HH:MM\"] [--fresh] [--json] [--save OUT]"},
    {"download", k52::cli::CmdDownload,
     "download FILE (--device PATH | --port COMn) [--ir] [--speed BPS] [--retries N]"},
    {"download-lookup", k52::cli::CmdDownloadLookup,
     "download-lookup DATA (--device PATH | --port COMn) [--ir] [--speed BPS] [--retries N]"},
    {"receive", k52::cli::CmdReceive, "receive OUT (--device PATH | --port COMn) [--ir] [--speed BPS]"},
    {"ports", CmdPorts, kPortsUsage},
};

int Usage() {
    std::cerr << "usage: k52cli COMMAND ...\n";
    for (const Command& c : kCommands) std::cerr << "  k52cli " << c.usage << "\n";
    return k52::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        Usage();
        return k52::cli::kExitOk;
    }
    k52::cli::Args args(argv + 2, argv + argc);
    for (const Command& c : kCommands)
        if (c.name == name) return c.run(args);
    std::cerr << "k52cli: unknown command '" << name << "'\n";
    return Usage();
}
