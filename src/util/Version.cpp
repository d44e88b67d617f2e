// The version line, from what the build configured.
#include "util/Version.h"

namespace k52 {

std::string VersionLine(std::string_view program) {
    std::string line = std::string(program) + " " + K52_VERSION;
    if (const std::string_view commit = K52_COMMIT; !commit.empty())
        line += " (commit " + std::string(commit) + ")";
    return line;
}

}  // namespace k52
