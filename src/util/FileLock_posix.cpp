// An exclusive advisory lock (flock) on a lock file, released when its holder goes.
#include "util/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "util/RegularFile.h"

namespace k52 {

std::optional<FileLock> FileLock::Acquire(const std::string& lockPath, std::string* reason) {
    auto fail = [&](const char* why) -> std::optional<FileLock> {
        if (reason) *reason = why;
        return std::nullopt;
    };
    // O_NONBLOCK: a FIFO or device put in its place is refused below, never waited on.
    UniqueFd fd(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0) return fail(std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return fail(kNotRegularFileReason);
    while (::flock(fd.get(), LOCK_EX) != 0)
        if (errno != EINTR) return fail(std::strerror(errno));
    return FileLock(std::move(fd));
}

}  // namespace k52
