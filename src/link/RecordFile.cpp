// Writing received records durably and putting them in place only when there is something to keep.
#include "link/RecordFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "protocol/Protocol.h"
#include "util/Paths.h"

namespace k52 {

namespace {

// A name beside `target` that is short whatever the target's name is, and easy to find should the
// program die before the records take their name.
UniqueFd CreateTemporary(const std::string& directory, std::string* path) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        *path =
            directory + "/k52-receive-" + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".part";
        UniqueFd fd(::open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd || errno != EEXIST) return fd;
    }
    return UniqueFd();
}

bool SyncDirectory(const std::string& directory) {
    UniqueFd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir && (fsync(dir.get()) == 0 || errno == EINVAL);
}

}  // namespace

std::optional<RecordFile> RecordFile::Create(const std::string& path, int* error) {
    std::string target = path;
    struct stat st {};
    bool exists = stat(path.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) {
            *error = EISDIR;
            return std::nullopt;
        }
        // A device or a FIFO: a stream to write into, not a file to replace. Never wait for a reader.
        UniqueFd fd(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!fd) {
            *error = errno;
            return std::nullopt;
        }
        const int flags = fcntl(fd.get(), F_GETFL);
        if (flags >= 0) fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
        return RecordFile(std::move(fd), target, "");
    }
    if (exists) {
        // Replace what a symbolic link points to, not the link; a read-only file stays as it is.
        if (char* real = realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
        if (access(target.c_str(), W_OK) != 0) {
            *error = errno;
            return std::nullopt;
        }
    }
    std::string temp;
    UniqueFd fd = CreateTemporary(DirectoryOf(target), &temp);
    if (!fd) {
        *error = errno;
        return std::nullopt;
    }
    if (exists) {
        // The new file keeps the old one's mode, and its owner and group where we may set them.
        fchmod(fd.get(), st.st_mode & 07777);
        [[maybe_unused]] const int owned = fchown(fd.get(), st.st_uid, st.st_gid);
    }
    return RecordFile(std::move(fd), target, temp);
}

RecordFile::RecordFile(UniqueFd fd, std::string target, std::string temp)
    : fd_(std::move(fd)), target_(std::move(target)), tempPath_(std::move(temp)) {}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : fd_(std::move(other.fd_)),
      target_(std::move(other.target_)),
      tempPath_(std::move(other.tempPath_)),
      done_(std::exchange(other.done_, true)) {}

RecordFile::~RecordFile() {
    if (!done_) Rollback();
}

bool RecordFile::Append(const u8* data, std::size_t size, int* error) {
    u8 line[kMaxRecordFrame + 2];
    if (size > kMaxRecordFrame) size = kMaxRecordFrame;
    std::copy(data, data + size, line);
    line[size] = kCr;
    line[size + 1] = kLf;
    const off_t before = tempPath_.empty() ? 0 : lseek(fd_.get(), 0, SEEK_CUR);
    std::size_t written = 0;
    const bool ok = WriteAll(fd_.get(), line, size + 2, &written) &&
                    (fsync(fd_.get()) == 0 || errno == EINVAL || errno == EROFS);
    if (ok) return true;
    *error = errno;
    // Leave the file as it was before this record.
    if (!tempPath_.empty() && written > 0 && ftruncate(fd_.get(), before) == 0)
        lseek(fd_.get(), before, SEEK_SET);
    return false;
}

bool RecordFile::Commit(int* error) {
    done_ = true;
    if (tempPath_.empty()) return fd_.Reset() || (*error = errno, false);
    if (!fd_.Reset() || rename(tempPath_.c_str(), target_.c_str()) != 0) {
        *error = errno;
        return false;
    }
    tempPath_.clear();
    if (SyncDirectory(DirectoryOf(target_))) return true;
    *error = errno;
    return false;
}

void RecordFile::Rollback() {
    done_ = true;
    fd_.Reset();
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
}

}  // namespace k52
