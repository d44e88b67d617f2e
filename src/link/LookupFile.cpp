// Opening, checking and reading a lookup data file.
#include "link/LookupFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "link/Protocol.h"

namespace k52 {

namespace {
constexpr std::size_t kReadChunk = 128;
}

std::optional<LookupFile> LookupFile::Open(const std::string& path, OpenError* error, int* sysErrno) {
    // Non-blocking so that a FIFO without a writer cannot stall the command before it is refused.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (!fd || fstat(fd.get(), &st) != 0) {
        if (sysErrno) *sysErrno = errno;
        if (error) *error = OpenError::CannotOpen;
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        if (sysErrno) *sysErrno = 0;
        if (error) *error = OpenError::NotRegular;
        return std::nullopt;
    }
    const int flags = fcntl(fd.get(), F_GETFL);
    if (flags >= 0) fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    if (error) *error = OpenError::None;
    return LookupFile(std::move(fd));
}

long LookupFile::FirstTooLongLine() {
    if (lseek(fd_.get(), 0, SEEK_SET) != 0) return -1;
    long line = 1;
    std::size_t length = 0;
    u8 buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd_.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) return 0;
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == kCr) {
                ++line;
                length = 0;
            } else if (buffer[i] != kLf && ++length > kMaxLookupRecordData) {
                return line;
            }
        }
    }
}

bool LookupFile::ForEachRecord(const RecordFn& record, const std::function<void(int)>& progress,
                               long* tooLongLine) {
    struct stat st {};
    if (lseek(fd_.get(), 0, SEEK_SET) != 0 || fstat(fd_.get(), &st) != 0) return false;
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    std::vector<u8> data;
    std::uint64_t bytesRead = 0;
    long line = 1;
    while (bytesRead < size) {
        u8 chunk[kReadChunk];
        const ssize_t n = ::read(fd_.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        bytesRead += static_cast<std::uint64_t>(n);
        for (ssize_t i = 0; i < n; ++i) {
            const u8 b = chunk[i];
            if (b == kCr) {
                if (!record(data, line)) return false;
                data.clear();
                ++line;
            } else if (b != kLf) {
                // The file grew a long record since it was checked.
                if (data.size() >= kMaxLookupRecordData) {
                    if (tooLongLine) *tooLongLine = line;
                    return false;
                }
                data.push_back(b);
            }
        }
        progress(static_cast<int>(std::min<std::uint64_t>(bytesRead * 100 / size, 100)));
    }
    return data.empty() || record(data, line);
}

}  // namespace k52
