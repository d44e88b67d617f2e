// k52cli's help and usage lines in the user's language, made from each command's CLI11 declarations.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace k52::cli {

// CLI11's help with its words in the user's language, the descriptions in one column whatever the
// script; given to `app` before the commands are registered.
void LocalizeHelp(CLI::App& app);
// A command's help flag joins its options' group; after the commands are registered.
void GroupHelpFlags(CLI::App& app);
// "download FILE [--device PATH]... [--ir] ...": the command's positionals and options as it declares
// them, and its own commands after a "|".
std::string UsageLine(const CLI::App& command);

}  // namespace k52::cli
