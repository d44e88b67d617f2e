// An owning C runtime file descriptor on Windows, and writing a whole buffer through one.
#include <io.h>

#include <cerrno>
#include <climits>

#include "util/UniqueFd.h"

namespace k52 {

bool UniqueFd::Reset(int fd) {
    bool ok = true;
    if (fd_ >= 0 && ::_close(fd_) != 0) ok = false;
    fd_ = fd;
    return ok;
}

bool WriteAll(int fd, const void* data, std::size_t size, std::size_t* written) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const std::size_t chunk = size - done < INT_MAX / 2 ? size - done : INT_MAX / 2;
        const int n = ::_write(fd, bytes + done, static_cast<unsigned>(chunk));
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
