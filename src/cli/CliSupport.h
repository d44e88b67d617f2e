// What k52cli's commands share: messages on standard error, template loading with its exit codes, whole
// files in and out with the system's reason when that fails, template text made safe for a terminal, and
// the width of text in a terminal's columns.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "app/UserInterface.h"
#include "cli/Commands.h"
#include "template/Defaults.h"
#include "template/Template.h"
#include "textformat/TemplateImport.h"
#include "util/Printable.h"

namespace k52::cli {

void PrintError(std::string_view title, std::string_view text);
// "k52cli: TEXT" on standard error.
void PrintLine(std::string_view text);

// Loads a template file; on failure prints why and returns the exit code (kExitOk on success).
int LoadTemplate(const std::string& path, ApplicationTemplate& t);

// The text of a system error number, for "cannot read PATH: REASON".
std::string SystemReason(int error);

// All of the regular file `path`, at most `limit` bytes. On failure prints "cannot read PATH: REASON";
// the caller then exits with kExitFile.
std::optional<std::string> ReadInputFile(const std::string& path, std::size_t limit);

// The most template text import and diff read: the text of a whole template is well under a megabyte.
constexpr std::size_t kTemplateTextLimit = 16 * 1024 * 1024;

// Prints the import's findings as "FILE: PATH: VALUE RULE" lines and returns the exit code.
int ReportImport(const std::string& path, const TemplateImport& result, bool showWarnings);

// Saves `size` bytes as `path` with the one atomic save. On failure prints "cannot write PATH: REASON"
// and returns kExitFile.
int SaveOutputFile(const std::string& path, const void* data, std::size_t size);

// An input a command reads, named for the message that refuses to write over it (K52_EN("the template"):
// the message shows the name in the user's language).
struct NamedInput {
    const std::string& path;
    std::string_view what;
};
enum class Existing { Refuse, Replace };
// Whether a command may write `out`: never over one of its inputs (kExitUsage, "give the OUT_WHAT another
// name"), and over an existing file only when told to replace it (kExitFile, "add --overwrite"). Prints
// why not and returns the exit code; kExitOk when `out` may be written.
int MayWrite(const std::string& out, std::string_view outWhat, std::initializer_list<NamedInput> inputs,
             Existing existing);

// Flushes standard output and checks that everything written reached it (a full disk, a closed pipe).
// Prints why not and returns kExitFile; kExitOk when it did. k52cli calls it after every command.
int FinishStdout();

// True when both paths name one existing file (same device and inode, through any links).
bool SameFile(const std::string& a, const std::string& b);

// How many columns UTF-8 text takes on a terminal (an ideograph takes two), for tables that line up in
// either language.
std::size_t TextWidth(std::string_view utf8);
// `utf8` followed by the spaces that make it `width` columns wide.
std::string Padded(std::string_view utf8, std::size_t width);
// The longest start of `utf8` that takes at most `width` columns, never half a character.
std::string CutToWidth(std::string_view utf8, std::size_t width);

}  // namespace k52::cli
