// Opening a file that must be a regular file, without ever blocking on a FIFO or a device.
#pragma once

#include <string>

#include "util/UniqueFd.h"

namespace k52 {

// The reason given when a path names something other than a regular file (a FIFO, a device, a socket).
extern const char kNotRegularFileReason[];  // "Not a regular file"

// Opens `path` for reading. A FIFO or device is refused before anything waits on it; the descriptor
// returned is blocking again. On failure the result is invalid and `reason` (when given) holds the
// system's words for why ("Permission denied", "Is a directory", ...).
UniqueFd OpenRegularFileForReading(const std::string& path, std::string* reason = nullptr);

// Reads up to `size` bytes, fewer only at the end of the file. Returns the count, or -1 with errno set.
long ReadUpTo(int fd, void* data, std::size_t size);

}  // namespace k52
