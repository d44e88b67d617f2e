// Reading whole files and standard input within a size limit, on top of each platform's open and read.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "util/RegularFile.h"
#include "util/RegularFileOpen.h"

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
        const long n = ReadUpTo(fd, buffer, want);
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

}  // namespace

const char kNotRegularFileReason[] = "Not a regular file";
const char kDeviceNameReason[] = "A device name on Windows";

UniqueFd OpenRegularFileForReading(const std::string& path, std::string* reason) {
    FileReadError error;
    UniqueFd fd = detail::OpenRegular(path, error, nullptr);
    if (!fd && reason) *reason = std::move(error.reason);
    return fd;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit, FileReadError* error) {
    FileReadError failure;
    std::size_t size = 0;
    UniqueFd fd = detail::OpenRegular(path, failure, &size);
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
    std::optional<std::string> bytes = ReadToEnd(detail::BinaryStandardInput(), limit, 0, error);
    if (!bytes && reason) *reason = std::move(error.reason);
    return bytes;
}

}  // namespace k52
