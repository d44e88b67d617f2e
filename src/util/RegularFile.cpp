// Opening a file that must be a regular file, without ever blocking on a FIFO or a device.
#include "util/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace k52 {

const char kNotRegularFileReason[] = "Not a regular file";

UniqueFd OpenRegularFileForReading(const std::string& path, std::string* reason) {
    auto fail = [&](const char* why) {
        if (reason) *reason = why;
        return UniqueFd();
    };
    // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer or a device's carrier.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) return fail(std::strerror(errno));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) return fail(std::strerror(errno));
    if (S_ISDIR(st.st_mode)) return fail(std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) return fail(kNotRegularFileReason);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return fail(std::strerror(errno));
    return fd;
}

long ReadUpTo(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<long>(done);
}

}  // namespace k52
