// What k52cli's commands share: message boxes on standard error, template loading and its exit codes,
// whole files in and out, and the check that standard output took everything.
#include "cli/CliSupport.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "app/TemplateCommands.h"
#include "i18n/Translate.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"
#include "util/RegularFile.h"
#include "util/SaveFile.h"

namespace k52::cli {

void PrintError(std::string_view title, std::string_view text) {
    std::cerr << Translate(title) << ": " << Translate(text) << std::endl;
}

int LoadTemplate(const std::string& path, ApplicationTemplate& t) {
    std::string reason;
    switch (ReadTemplateFile(path, t, &reason)) {
        case TemplateReadResult::Ok:
            return kExitOk;
        case TemplateReadResult::CannotOpen:
            PrintError("k52cli", "cannot read " + path + ": " + reason);
            return kExitFile;
        case TemplateReadResult::BadFormat:
            PrintError(kErrorTitle, kFormatErrorText);
            return kExitBadTemplate;
    }
    return kExitFile;
}

std::string SystemReason(int error) {
    return std::strerror(error);
}

std::optional<std::string> ReadInputFile(const std::string& path, std::size_t limit) {
    std::string reason;
    std::optional<std::string> bytes = ReadWholeFile(path, limit, &reason);
    if (!bytes) PrintError("k52cli", "cannot read " + path + ": " + reason);
    return bytes;
}

int ReportImport(const std::string& path, const TemplateImport& result, bool showWarnings) {
    for (const std::string& e : result.errors) std::cerr << path << ": " << e << "\n";
    if (showWarnings)
        for (const std::string& w : result.warnings) std::cerr << path << ": warning: " << w << "\n";
    if (result.ok()) return kExitOk;
    std::cerr << "k52cli: " << path << " refused (" << result.errors.size()
              << (result.errors.size() == 1 ? " error" : " errors") << "), nothing written\n";
    return kExitBadTemplate;
}

int SaveOutputFile(const std::string& path, const void* data, std::size_t size) {
    std::string reason;
    if (SaveWholeFile(path, data, size, &reason)) return kExitOk;
    PrintError("k52cli", "cannot write " + path + ": " + reason);
    return kExitFile;
}

int MayWrite(const std::string& out, std::string_view outWhat, std::initializer_list<NamedInput> inputs,
             Existing existing) {
    for (const NamedInput& in : inputs) {
        if (!SameFile(in.path, out)) continue;
        PrintError("k52cli", out + " is " + std::string(in.what) + " itself; give the " +
                                 std::string(outWhat) + " another name");
        return kExitUsage;
    }
    struct stat st {};
    if (existing == Existing::Refuse && ::lstat(out.c_str(), &st) == 0) {
        PrintError("k52cli", out + " exists; add --overwrite to replace it");
        return kExitFile;
    }
    return kExitOk;
}

int FinishStdout() {
    // A write that failed before now left its errno behind; the final flush sets its own.
    int error = errno;
    if (std::cout && !std::ferror(stdout)) {
        errno = 0;
        std::cout.flush();
        std::fflush(stdout);
        error = errno;
    }
    if (std::cout && !std::ferror(stdout)) return kExitOk;
    // Said once: a second call finds the stream sound again and nothing more written.
    std::cout.clear();
    std::clearerr(stdout);
    PrintError("k52cli", "cannot write standard output: " +
                             (error != 0 ? SystemReason(error) : std::string("write error")));
    return kExitFile;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace k52::cli
