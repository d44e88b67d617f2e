#include <iostream>

#include "cli/Commands.h"

namespace k52::cli {

int CmdSimulate(const Args&) {
    std::cerr << "k52cli: simulate is not available in this build\n";
    return kExitUsage;
}

}  // namespace k52::cli
