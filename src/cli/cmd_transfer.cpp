#include <iostream>

#include "cli/Commands.h"

namespace k52::cli {

static int NotYet(const char* name) {
    std::cerr << "k52cli: " << name << " is not available in this build\n";
    return kExitUsage;
}

int CmdDownload(const Args&) { return NotYet("download"); }
int CmdDownloadLookup(const Args&) { return NotYet("download-lookup"); }
int CmdReceive(const Args&) { return NotYet("receive"); }

}  // namespace k52::cli
