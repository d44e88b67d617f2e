// Path arithmetic on '/'-separated paths.
#include "util/Paths.h"

namespace k52 {

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace k52
