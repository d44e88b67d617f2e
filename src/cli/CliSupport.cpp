// What k52cli's commands share: message boxes on standard error, template loading and its exit codes,
// whole files in and out, and the check that standard output took everything.
#include "cli/CliSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "app/TemplateCommands.h"
#include "i18n/Translate.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"
#include "util/RegularFile.h"
#include "util/SaveFile.h"
#include "util/platform/System.h"

namespace k52::cli {

void PrintError(std::string_view title, std::string_view text) {
    std::cerr << Translate(title) << ": " << Translate(text) << std::endl;
}

void PrintLine(std::string_view text) {
    std::cerr << "k52cli: " << text << "\n";
}

int LoadTemplate(const std::string& path, ApplicationTemplate& t) {
    std::string reason;
    switch (ReadTemplateFile(path, t, &reason)) {
        case TemplateReadResult::Ok:
            return kExitOk;
        case TemplateReadResult::CannotOpen:
            PrintError("k52cli", Localize("cannot read %1: %2", {path, LocalizeReason(reason)}));
            return kExitFile;
        case TemplateReadResult::BadFormat:
            PrintError(kErrorTitle, kFormatErrorText);
            return kExitBadTemplate;
    }
    return kExitFile;
}

std::string SystemReason(int error) {
    return LocalizeReason(std::strerror(error));
}

std::optional<std::string> ReadInputFile(const std::string& path, std::size_t limit) {
    std::string reason;
    std::optional<std::string> bytes = ReadWholeFile(path, limit, &reason);
    if (!bytes) PrintError("k52cli", Localize("cannot read %1: %2", {path, LocalizeReason(reason)}));
    return bytes;
}

int ReportImport(const std::string& path, const TemplateImport& result, bool showWarnings) {
    for (const std::string& e : result.errors) std::cerr << path << ": " << e << "\n";
    if (showWarnings)
        for (const std::string& w : result.warnings)
            std::cerr << Localize("%1: warning: %2", {path, w}) << "\n";
    if (result.ok()) return kExitOk;
    const std::string count = std::to_string(result.errors.size());
    std::cerr << "k52cli: "
              << (result.errors.size() == 1
                      ? Localize("%1 refused (%2 error), nothing written", {path, count})
                      : Localize("%1 refused (%2 errors), nothing written", {path, count}))
              << "\n";
    return kExitBadTemplate;
}

int SaveOutputFile(const std::string& path, const void* data, std::size_t size) {
    std::string reason;
    if (SaveWholeFile(path, data, size, &reason)) return kExitOk;
    PrintError("k52cli", Localize("cannot write %1: %2", {path, LocalizeReason(reason)}));
    return kExitFile;
}

int MayWrite(const std::string& out, std::string_view outWhat, std::initializer_list<NamedInput> inputs,
             Existing existing) {
    for (const NamedInput& in : inputs) {
        if (!SameFile(in.path, out)) continue;
        PrintError("k52cli", Localize("%1 is %2 itself; give the %3 another name",
                                      {out, Localize(in.what), Localize(outWhat)}));
        return kExitUsage;
    }
    // What is no file is said so before any talk of replacing it: --overwrite would not help.
    const platform::PathKind kind = platform::KindOf(out);
    if (kind == platform::PathKind::Directory) {
        PrintError("k52cli", Localize("%1 is a folder; give the %2 a file name", {out, Localize(outWhat)}));
        return kExitFile;
    }
    if (kind == platform::PathKind::Other || platform::IsDeviceName(out)) {
        const char* why = platform::IsDeviceName(out) ? kDeviceNameReason : kNotRegularFileReason;
        PrintError("k52cli", Localize("cannot write %1: %2", {out, LocalizeReason(why)}));
        return kExitFile;
    }
    if (existing == Existing::Refuse && platform::EntryExists(out)) {
        PrintError("k52cli", Localize("%1 exists; add --overwrite to replace it", {out}));
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
    PrintError("k52cli", Localize("cannot write standard output: %1",
                                  {error != 0 ? SystemReason(error) : Localize("write error")}));
    return kExitFile;
}

bool SameFile(const std::string& a, const std::string& b) {
    return platform::SameFile(a, b);
}

namespace {

// Columns a character takes on a terminal: East Asian wide characters take two.
std::size_t CellWidth(std::uint32_t cp) {
    const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                      (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                      (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                      (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
    return wide ? 2 : 1;
}

// The length in bytes of the UTF-8 character that starts with `lead`.
std::size_t CharLength(unsigned char lead) {
    return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

std::size_t TextWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = CharLength(b);
        std::uint32_t cp = n == 1 ? b : b & (0x7Fu >> n);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        width += CellWidth(cp);
        i += n;
    }
    return width;
}

std::string Padded(std::string_view utf8, std::size_t width) {
    const std::size_t used = TextWidth(utf8);
    return std::string(utf8) + std::string(width > used ? width - used : 0, ' ');
}

std::string CutToWidth(std::string_view utf8, std::size_t width) {
    std::size_t end = 0, used = 0;
    while (end < utf8.size()) {
        const std::size_t n = std::min(CharLength(static_cast<unsigned char>(utf8[end])), utf8.size() - end);
        const std::size_t cells = TextWidth(utf8.substr(end, n));
        if (used + cells > width) break;
        used += cells;
        end += n;
    }
    return std::string(utf8.substr(0, end));
}

}  // namespace k52::cli
