// What k52cli's commands share: message boxes on standard error, template loading and its exit codes.
#include "cli/CliSupport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <iterator>

#include "app/TemplateCommands.h"
#include "i18n/Translate.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"
#include "util/UniqueFd.h"

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

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason) {
    UniqueFd owned;
    int fd = STDIN_FILENO;
    if (path != "-") {
        owned.Reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
        if (!owned) {
            reason = SystemReason(errno);
            return false;
        }
        fd = owned.get();
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) return true;
        if (n < 0) {
            if (errno == EINTR) continue;
            reason = SystemReason(errno);
            return false;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
}

bool WriteWholeFile(const std::string& path, const void* data, std::size_t size, std::string& reason) {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!fd || !WriteAll(fd.get(), data, size) || !fd.Reset()) {
        reason = SystemReason(errno);
        return false;
    }
    return true;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

}  // namespace k52::cli
