// What each platform provides for reading whole files: opening a regular file without blocking, and
// standard input as raw bytes.
#pragma once

#include <cstddef>
#include <string>

#include "util/RegularFile.h"

namespace k52::detail {

// Opens `path` for reading only when it is a regular file, and gives its size.
UniqueFd OpenRegular(const std::string& path, FileReadError& error, std::size_t* size);
// The descriptor of standard input, set to pass its bytes through unchanged.
int BinaryStandardInput();

}  // namespace k52::detail
