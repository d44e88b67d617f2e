// Taking file paths apart without touching the file system.
#pragma once

#include <string>

namespace k52 {

// The folder that holds `path`: "." for a bare name, "/" for a name in the root.
std::string DirectoryOf(const std::string& path);

}  // namespace k52
