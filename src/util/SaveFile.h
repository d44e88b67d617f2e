// Saving a whole file so that a failure never loses the earlier contents, and the file stays the file
// it was: its links, mode, owner and group.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace k52 {

// Writes `size` bytes as the new contents of `path`.
// - A symbolic link is followed to the file it names (a dangling one creates that file).
// - A directory, FIFO, device or socket is refused, and so is a file a plain write could not open.
// - Normally the bytes go to a temporary file in the same folder, are flushed to disk and renamed over
//   the target, which keeps its mode, owner and group. A file with more than one hard link (or whose
//   owner this process cannot give away) is written in place and flushed instead, so every link sees
//   the new contents.
// On failure returns false and `reason` (when given) holds the system's words for why.
bool SaveWholeFile(const std::string& path, const void* data, std::size_t size,
                   std::string* reason = nullptr);

// The path a write through `path` reaches: symbolic links followed, even to a file not yet there.
std::optional<std::string> PathThroughLinks(const std::string& path, std::string* reason = nullptr);

}  // namespace k52
