// An owning POSIX file descriptor, and writing a whole buffer through one.
#include "util/UniqueFd.h"

#include <unistd.h>

#include <cerrno>

namespace k52 {

bool UniqueFd::Reset(int fd) {
    bool ok = true;
    // close() must not be retried on EINTR on Linux: the descriptor is gone either way.
    if (fd_ >= 0 && ::close(fd_) != 0 && errno != EINTR) ok = false;
    fd_ = fd;
    return ok;
}

bool WriteAll(int fd, const void* data, std::size_t size, std::size_t* written) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            if (written) *written = done;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (written) *written = done;
    return true;
}

}  // namespace k52
