// Opening a file that must be a regular file, on Windows: paths are UTF-8 and opened through the wide C
// runtime, always in binary mode.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "util/RegularFileOpen.h"
#include "util/platform/System.h"
#include "util/platform/Win32.h"

namespace k52 {
namespace detail {

UniqueFd OpenRegular(const std::string& path, FileReadError& error, std::size_t* size) {
    auto fail = [&](FileReadError::Kind kind, int number, const char* why) {
        error = {kind, number, why};
        return UniqueFd();
    };
    // CON would read the console and NUL nothing, in any folder: neither is a file.
    if (platform::IsDeviceName(path)) return fail(FileReadError::Kind::NotRegular, 0, kDeviceNameReason);
    // A folder cannot be opened as a file here; say what Linux says.
    if (platform::KindOf(path) == platform::PathKind::Directory)
        return fail(FileReadError::Kind::System, EISDIR, std::strerror(EISDIR));
    UniqueFd fd(::_wopen(platform::Widen(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT));
    struct _stat64 st {};
    if (!fd || ::_fstat64(fd.get(), &st) != 0)
        return fail(FileReadError::Kind::System, errno, std::strerror(errno));
    if ((st.st_mode & _S_IFMT) == _S_IFDIR)
        return fail(FileReadError::Kind::System, EISDIR, std::strerror(EISDIR));
    if ((st.st_mode & _S_IFMT) != _S_IFREG)
        return fail(FileReadError::Kind::NotRegular, 0, kNotRegularFileReason);
    if (size) *size = static_cast<std::size_t>(st.st_size);
    return fd;
}

int BinaryStandardInput() {
    // Text mode would turn CR LF into LF: a template piped in must arrive byte for byte.
    ::_setmode(0, _O_BINARY);
    return 0;
}

}  // namespace detail

long ReadUpTo(int fd, void* data, std::size_t size) {
    auto* bytes = static_cast<unsigned char*>(data);
    std::size_t done = 0;
    while (done < size) {
        const std::size_t chunk = std::min<std::size_t>(size - done, 1u << 30);
        const int n = ::_read(fd, bytes + done, static_cast<unsigned>(chunk));
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<long>(done);
}

}  // namespace k52
