// What k52cli's commands share: messages on standard error, template loading with its exit codes, whole
// files in and out with the system's reason when that fails, and template text made safe for a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "app/UserInterface.h"
#include "cli/Commands.h"
#include "template/Defaults.h"
#include "template/Template.h"
#include "util/Printable.h"

namespace k52::cli {

void PrintError(std::string_view title, std::string_view text);

// Loads a template file; on failure prints why and returns the exit code (kExitOk on success).
int LoadTemplate(const std::string& path, ApplicationTemplate& t);

// The text of a system error number, for "cannot read PATH: REASON".
std::string SystemReason(int error);

// All of a file, or of standard input for "-". On failure `reason` says why.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason);
// Creates or truncates `path` and writes `size` bytes. On failure `reason` says why.
bool WriteWholeFile(const std::string& path, const void* data, std::size_t size, std::string& reason);

// True when both paths name one existing file (same device and inode, through any links).
bool SameFile(const std::string& a, const std::string& b);

}  // namespace k52::cli
