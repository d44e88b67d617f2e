// Opening a file that must be a regular file and reading whole files within a size limit, on Windows:
// paths are UTF-8 and opened through the wide C runtime, always in binary mode.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "util/RegularFile.h"
#include "util/platform/System.h"
#include "util/platform/Win32.h"

namespace k52 {
namespace {

std::string TooLargeReason(std::size_t limit) {
    constexpr std::size_t kKiB = 1024, kMiB = kKiB * kKiB;
    const std::string size = limit >= kMiB && limit % kMiB == 0   ? std::to_string(limit / kMiB) + " MiB"
                             : limit >= kKiB && limit % kKiB == 0 ? std::to_string(limit / kKiB) + " KiB"
                                                                  : std::to_string(limit) + " bytes";
    return std::string(std::strerror(EFBIG)) + " (over " + size + ")";
}

std::optional<std::string> ReadToEnd(int fd, std::size_t limit, std::size_t sizeHint, FileReadError& error) {
    std::string bytes;
    bytes.reserve(sizeHint < limit ? sizeHint : limit);
    char buffer[65536];
    while (bytes.size() <= limit) {
        const std::size_t want = std::min(sizeof buffer, limit + 1 - bytes.size());
        const int n = ::_read(fd, buffer, static_cast<unsigned>(want));
        if (n < 0) {
            error = {FileReadError::Kind::System, errno, std::strerror(errno)};
            return std::nullopt;
        }
        if (n == 0) return bytes;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    error = {FileReadError::Kind::TooLarge, EFBIG, TooLargeReason(limit)};
    return std::nullopt;
}

UniqueFd OpenRegular(const std::string& path, FileReadError& error, std::size_t* size) {
    auto fail = [&](FileReadError::Kind kind, int number, const char* why) {
        error = {kind, number, why};
        return UniqueFd();
    };
    // A folder cannot be opened as a file here; say what Linux says.
    if (platform::KindOf(path) == platform::PathKind::Directory)
        return fail(FileReadError::Kind::System, EISDIR, std::strerror(EISDIR));
    UniqueFd fd(::_wopen(platform::Widen(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
    struct _stat64 st {};
    if (!fd || ::_fstat64(fd.get(), &st) != 0)
        return fail(FileReadError::Kind::System, errno, std::strerror(errno));
    if ((st.st_mode & _S_IFMT) == _S_IFDIR)
        return fail(FileReadError::Kind::System, EISDIR, std::strerror(EISDIR));
    if ((st.st_mode & _S_IFMT) != _S_IFREG)
        return fail(FileReadError::Kind::NotRegular, 0, kNotRegularFileReason);
    if (size) *size = static_cast<std::size_t>(st.st_size);
    return fd;
}

}  // namespace

const char kNotRegularFileReason[] = "Not a regular file";

UniqueFd OpenRegularFileForReading(const std::string& path, std::string* reason) {
    FileReadError error;
    UniqueFd fd = OpenRegular(path, error, nullptr);
    if (!fd && reason) *reason = std::move(error.reason);
    return fd;
}

long ReadUpTo(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const std::size_t chunk = std::min<std::size_t>(size - done, 1u << 30);
        const int n = ::_read(fd, bytes + done, static_cast<unsigned>(chunk));
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<long>(done);
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit, FileReadError* error) {
    FileReadError failure;
    std::size_t size = 0;
    UniqueFd fd = OpenRegular(path, failure, &size);
    if (fd && size > limit) failure = {FileReadError::Kind::TooLarge, EFBIG, TooLargeReason(limit)};
    std::optional<std::string> bytes;
    if (fd && size <= limit) bytes = ReadToEnd(fd.get(), limit, size, failure);
    if (!bytes && error) *error = std::move(failure);
    return bytes;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit, std::string* reason) {
    FileReadError error;
    std::optional<std::string> bytes = ReadWholeFile(path, limit, &error);
    if (!bytes && reason) *reason = std::move(error.reason);
    return bytes;
}

std::optional<std::string> ReadWholeStandardInput(std::size_t limit, std::string* reason) {
    // Text mode would turn CR LF into LF: a template piped in must arrive byte for byte.
    ::_setmode(0, _O_BINARY);
    FileReadError error;
    std::optional<std::string> bytes = ReadToEnd(0, limit, 0, error);
    if (!bytes && reason) *reason = std::move(error.reason);
    return bytes;
}

}  // namespace k52
