// An exclusive lock (LockFileEx) on a lock file, released when its holder goes.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "util/FileLock.h"
#include "util/RegularFile.h"
#include "util/platform/System.h"
#include "util/platform/Win32.h"

namespace k52 {

std::optional<FileLock> FileLock::Acquire(const std::string& lockPath, std::string* reason) {
    auto fail = [&](const char* why) -> std::optional<FileLock> {
        if (reason) *reason = why;
        return std::nullopt;
    };
    const platform::PathKind kind = platform::KindOf(lockPath);
    if (kind != platform::PathKind::Regular && kind != platform::PathKind::Missing)
        return fail(kNotRegularFileReason);
    UniqueFd fd(::_wopen(platform::Widen(lockPath).c_str(), _O_RDWR | _O_CREAT | _O_BINARY | _O_NOINHERIT,
                         _S_IREAD | _S_IWRITE));
    if (!fd) return fail(std::strerror(errno));
    auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd.get()));
    OVERLAPPED whole{};
    if (!LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
        platform::SetErrnoFromLastError();
        return fail(std::strerror(errno));
    }
    return FileLock(std::move(fd));
}

}  // namespace k52
