// download-lookup's layout check: its options, and the check run before the transfer is built.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/Commands.h"

namespace k52::cli {

void AddLookupLayoutOptions(CLI::App& sub, TransferOptions& o);
// kExitOk when DATA may go (no template given, it fits, or --force); otherwise the exit code, after
// printing the first lines that do not fit.
int CheckLookupLayoutFirst(const TransferOptions& o);

}  // namespace k52::cli
