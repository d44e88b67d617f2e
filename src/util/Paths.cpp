// Path arithmetic on '/'-separated paths ('\\' too on Windows).
#include "util/Paths.h"

#include "util/platform/System.h"

namespace k52 {

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of(platform::kPathSeparators);
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace k52
