// The system's words for the common file and device failures, in the user's language.
#include <cerrno>
#include <cstring>

#include "i18n/Translate.h"

namespace k52 {
namespace {

struct Reason {
    int number;           // 0 for the reasons this program gives itself
    std::string_view en;  // as glibc words it; other C libraries word some differently
};

constexpr Reason kReasons[] = {
    {ENOENT, K52_EN("No such file or directory")},
    {EACCES, K52_EN("Permission denied")},
    {EISDIR, K52_EN("Is a directory")},
    {ENOTDIR, K52_EN("Not a directory")},
    {EEXIST, K52_EN("File exists")},
    {ENOSPC, K52_EN("No space left on device")},
    {EROFS, K52_EN("Read-only file system")},
    {EIO, K52_EN("Input/output error")},
    {EBUSY, K52_EN("Device or resource busy")},
    {ENODEV, K52_EN("No such device")},
    {EMLINK, K52_EN("Too many links")},
    {ENAMETOOLONG, K52_EN("File name too long")},
    {0, K52_EN("Not a regular file")},
    {0, K52_EN("A device name on Windows")},
};

const std::string_view* KnownReason(std::string_view reason) {
    for (const Reason& r : kReasons)
        if (reason == r.en || (r.number != 0 && reason == std::strerror(r.number))) return &r.en;
    return nullptr;
}

}  // namespace

std::string LocalizeReason(std::string_view reason) {
    const std::string_view* known = KnownReason(reason);
    return known ? Localize(*known) : std::string(reason);
}

}  // namespace k52
