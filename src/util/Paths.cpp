// Path arithmetic on '/'-separated paths ('\\' too on Windows).
#include "util/Paths.h"

#include <algorithm>
#include <cctype>

#include "util/platform/System.h"

namespace k52 {

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.find_last_of(platform::kPathSeparators);
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

bool IsWindowsDeviceName(std::string_view path) {
    // Both separators whatever the build: a name is judged as Windows would read it.
    if (const auto slash = path.find_last_of("/\\"); slash != std::string_view::npos)
        path.remove_prefix(slash + 1);
    std::string_view stem = path.substr(0, path.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.remove_suffix(1);
    std::string upper(stem);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
    if (upper.size() != 4 || !std::isdigit(static_cast<unsigned char>(upper[3]))) return false;
    const std::string_view head = std::string_view(upper).substr(0, 3);
    return head == "COM" || head == "LPT";
}

}  // namespace k52
