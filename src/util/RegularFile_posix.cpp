// Opening a file that must be a regular file, without ever blocking on a FIFO or a device, and reading
// whole files within a size limit.
#include "util/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace k52 {
namespace {

// "File too large (over 16 MiB)": the limit in the unit it was chosen in.
std::string TooLargeReason(std::size_t limit) {
    constexpr std::size_t kKiB = 1024, kMiB = kKiB * kKiB;
    const std::string size = limit >= kMiB && limit % kMiB == 0   ? std::to_string(limit / kMiB) + " MiB"
                             : limit >= kKiB && limit % kKiB == 0 ? std::to_string(limit / kKiB) + " KiB"
                                                                  : std::to_string(limit) + " bytes";
    return std::string(std::strerror(EFBIG)) + " (over " + size + ")";
}

// Reads to the end, one byte past `limit` at most so that a longer input is known to be one.
std::optional<std::string> ReadToEnd(int fd, std::size_t limit, std::size_t sizeHint, FileReadError& error) {
    std::string bytes;
    bytes.reserve(sizeHint < limit ? sizeHint : limit);
    char buffer[65536];
    while (bytes.size() <= limit) {
        const std::size_t want = std::min(sizeof buffer, limit + 1 - bytes.size());
        const ssize_t n = ::read(fd, buffer, want);
        if (n < 0 && errno == EINTR) continue;
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

// Opens `path` for reading only when it is a regular file, and gives its size.
UniqueFd OpenRegular(const std::string& path, FileReadError& error, std::size_t* size) {
    auto fail = [&](FileReadError::Kind kind, int number, const char* why) {
        error = {kind, number, why};
        return UniqueFd();
    };
    // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer or a device's carrier.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return fail(FileReadError::Kind::System, errno, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) return fail(FileReadError::Kind::System, EISDIR, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) return fail(FileReadError::Kind::NotRegular, 0, kNotRegularFileReason);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return fail(FileReadError::Kind::System, errno, std::strerror(errno));
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
        const ssize_t n = ::read(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
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
    FileReadError error;
    std::optional<std::string> bytes = ReadToEnd(STDIN_FILENO, limit, 0, error);
    if (!bytes && reason) *reason = std::move(error.reason);
    return bytes;
}

}  // namespace k52
