// k52cli: the generator's engine from the command line.
#include <cstring>
#include <iostream>
#include <string_view>

#include "cli/Commands.h"

namespace {

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
    {"receive", k52::cli::CmdReceive,
     "receive OUT (--device PATH | --port COMn) [--ir] [--speed BPS] [--overwrite]"},
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
