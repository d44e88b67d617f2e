// Reading files that must be regular files, without ever blocking on a FIFO or a device, and whole
// files up to a size a caller names.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "util/UniqueFd.h"

namespace k52 {

// The reason given when a path names something other than a regular file (a FIFO, a device, a socket).
extern const char kNotRegularFileReason[];  // "Not a regular file"
// The reason given on Windows for a name that is a device in every folder (CON, NUL, COM1.txt).
extern const char kDeviceNameReason[];  // "A device name on Windows"

// Opens `path` for reading. A FIFO or device is refused before anything waits on it; the descriptor
// returned is blocking again. On failure the result is invalid and `reason` (when given) holds the
// system's words for why ("Permission denied", "Is a directory", ...).
UniqueFd OpenRegularFileForReading(const std::string& path, std::string* reason = nullptr);

// Reads up to `size` bytes, fewer only at the end of the file. Returns the count, or -1 with errno set.
long ReadUpTo(int fd, void* data, std::size_t size);

// Why a whole file was not read, for a caller that branches on it.
struct FileReadError {
    enum class Kind { System, NotRegular, TooLarge } kind = Kind::System;
    int sysErrno = 0;    // Kind::System: ENOENT, EACCES, EISDIR, ...
    std::string reason;  // the words for it: "No such file or directory", "Not a regular file", ...
};

// All of a regular file of at most `limit` bytes. Only a regular file is read (a folder gives the system's
// "Is a directory"), and never more than `limit` bytes of it, even while it grows.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit, FileReadError* error);
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit,
                                         std::string* reason = nullptr);

// All of standard input up to `limit` bytes; more is refused as too large.
std::optional<std::string> ReadWholeStandardInput(std::size_t limit, std::string* reason = nullptr);

}  // namespace k52
