// Opening a file that must be a regular file, without ever blocking on a FIFO or a device, on POSIX.
#include "util/RegularFileOpen.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace k52 {
namespace detail {

// Opens `path` for reading only when it is a regular file, and gives its size.
UniqueFd OpenRegular(const std::string& path, FileReadError& error, std::size_t* size) {
    auto fail = [&](FileReadError::Kind kind, int number, const char* why) {
        error = {kind, number, why};
        return UniqueFd();
    };
    // O_NONBLOCK keeps the open itself from waiting for a FIFO's writer or a device's carrier.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return fail(FileReadError::Kind::System, errno, std::strerror(errno));
    if (S_ISDIR(st.st_mode)) return fail(FileReadError::Kind::System, EISDIR, std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) return fail(FileReadError::Kind::NotRegular, 0, kNotRegularFileReason);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return fail(FileReadError::Kind::System, errno, std::strerror(errno));
    if (size) *size = static_cast<std::size_t>(st.st_size);
    return fd;
}

int BinaryStandardInput() {
    return STDIN_FILENO;
}

}  // namespace detail

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
