// Writing received records durably and putting them in place only when there is something to keep.
#include "transfer/RecordFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "protocol/Protocol.h"
#include "util/FaultPoint.h"
#include "util/Paths.h"
#include "util/SaveFile.h"

namespace k52 {

namespace {

constexpr std::string_view kPartialSuffix = ".partial";

// The seam's verdict for one call: false with errno set when a test has it fail.
bool Allowed(FaultCall call) {
    if (const int e = FaultAt(call)) {
        errno = e;
        return false;
    }
    return true;
}

std::string NameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// "DATA.TXT.<pid>.partial" beside the target, so a person who finds it after a crash sees whose it is;
// a target whose name leaves no room for that gets a short one. Its writer holds a lock on it for as
// long as it writes: that, never the pid in its name, tells a live receive from one that was killed.
UniqueFd CreatePartial(const std::string& target, std::string* path) {
    const std::string folder = DirectoryOf(target);
    const std::string pid = std::to_string(getpid());
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string tag = pid + (attempt == 0 ? "" : "-" + std::to_string(attempt));
        std::string name = NameOf(target) + "." + tag + std::string(kPartialSuffix);
        if (name.size() > NAME_MAX) name = "k52-receive-" + tag + std::string(kPartialSuffix);
        *path = folder + "/" + name;
        if (!Allowed(FaultCall::Open)) return UniqueFd();
        UniqueFd fd(::open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd && ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            const int saved = errno;
            ::unlink(path->c_str());
            errno = saved;
            return UniqueFd();
        }
        if (fd || errno != EEXIST) return fd;
    }
    return UniqueFd();
}

bool SyncDirectory(const std::string& directory) {
    if (!Allowed(FaultCall::Sync)) return false;
    UniqueFd dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir && (fsync(dir.get()) == 0 || errno == EINVAL);
}

bool Link(const std::string& from, const std::string& to) {
    return Allowed(FaultCall::Link) && ::link(from.c_str(), to.c_str()) == 0;
}

bool Unlink(const std::string& path) {
    return Allowed(FaultCall::Unlink) && (::unlink(path.c_str()) == 0 || errno == ENOENT);
}

// "NAME-n.EXT" for the n-th free name beside `target`.
std::string Numbered(const std::string& target, int n) {
    const std::string folder = DirectoryOf(target);
    const std::string name = NameOf(target);
    const auto dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
    return (target.find('/') == std::string::npos ? "" : folder + "/") + stem + "-" + std::to_string(n) + ext;
}

}  // namespace

long RecordFile::CountRecords(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd) return 0;
    long records = 0;
    char buffer[65536];
    char previous = 0;
    for (ssize_t n; (n = ::read(fd.get(), buffer, sizeof buffer)) > 0;) {
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == '\n' && previous == '\r') ++records;
            previous = buffer[i];
        }
    }
    return records;
}

std::optional<RecordFile> RecordFile::Create(const std::string& path, int* error) {
    std::string reason;
    const std::optional<std::string> through = PathThroughLinks(path, &reason);
    if (!through) {
        *error = errno != 0 ? errno : ELOOP;
        return std::nullopt;
    }
    const std::string target = *through;
    struct stat st {};
    const bool exists = stat(target.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
        if (S_ISDIR(st.st_mode)) {
            *error = EISDIR;
            return std::nullopt;
        }
        // A device or a FIFO: a stream to write into, not a file to replace. Never wait for a reader.
        UniqueFd fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!fd) {
            *error = errno;
            return std::nullopt;
        }
        const int flags = fcntl(fd.get(), F_GETFL);
        if (flags >= 0) fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
        return RecordFile(std::move(fd), target, "", false);
    }
    // A read-only file stays as it is.
    if (exists && access(target.c_str(), W_OK) != 0) {
        *error = errno;
        return std::nullopt;
    }
    std::string temp;
    UniqueFd fd = CreatePartial(target, &temp);
    if (!fd) {
        *error = errno;
        return std::nullopt;
    }
    if (exists) {
        // The new file keeps the old one's mode, and its owner and group where we may set them.
        fchmod(fd.get(), st.st_mode & 07777);
        [[maybe_unused]] const int owned = fchown(fd.get(), st.st_uid, st.st_gid);
    }
    return RecordFile(std::move(fd), target, temp, exists && st.st_nlink > 1);
}

RecordFile::RecordFile(UniqueFd fd, std::string target, std::string temp, bool inPlace)
    : fd_(std::move(fd)), target_(std::move(target)), tempPath_(std::move(temp)), inPlace_(inPlace) {}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : fd_(std::move(other.fd_)),
      target_(std::move(other.target_)),
      tempPath_(std::move(other.tempPath_)),
      inPlace_(other.inPlace_),
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
    bool ok = Allowed(FaultCall::Write) && WriteAll(fd_.get(), line, size + 2, &written) &&
              Allowed(FaultCall::Sync) && (fdatasync(fd_.get()) == 0 || errno == EINVAL || errno == EROFS);
    struct stat st {};
    if (ok && !tempPath_.empty() && fstat(fd_.get(), &st) == 0 && st.st_nlink == 0) {
        errno = ENOENT;
        ok = false;
    }
    if (ok) return true;
    *error = errno;
    // Leave the file as it was before this record.
    if (!tempPath_.empty() && written > 0 && ftruncate(fd_.get(), before) == 0)
        lseek(fd_.get(), before, SEEK_SET);
    return false;
}

bool RecordFile::CopyInPlace(int* error) {
    UniqueFd in(::open(tempPath_.c_str(), O_RDONLY | O_CLOEXEC));
    UniqueFd out(::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!in || !out) return (*error = errno, false);
    char buffer[65536];
    off_t size = 0;
    for (ssize_t n; (n = ::read(in.get(), buffer, sizeof buffer)) != 0; size += n) {
        if (n < 0 || !WriteAll(out.get(), buffer, static_cast<std::size_t>(n)))
            return (*error = errno, false);
    }
    if (ftruncate(out.get(), size) != 0 || fsync(out.get()) != 0 || !out.Reset())
        return (*error = errno, false);
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
    return true;
}

bool RecordFile::RenameWithoutReplacing(int* error) {
    const std::string wanted = target_;
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? wanted : Numbered(wanted, n);
        // A link never replaces a name: two receives into one path cannot take each other's records.
        if (Link(tempPath_, name)) {
            // Until the partial name is gone the records have two names; recovery knows them as one file.
            target_ = name;
            const bool unlinked = Unlink(tempPath_);
            if (!unlinked) *error = errno;
            tempPath_.clear();
            return unlinked;
        }
        if (errno != EEXIST) {
            // A file system without hard links: a rename without replacement where the kernel has one.
            if (errno != EPERM && errno != ENOTSUP) return (*error = errno, false);
            if (Allowed(FaultCall::Rename) &&
                ::renameat2(AT_FDCWD, tempPath_.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) {
                target_ = name;
                tempPath_.clear();
                return true;
            }
            if (errno != EEXIST) return (*error = errno, false);
        }
    }
    *error = EEXIST;
    return false;
}

bool RecordFile::Commit(bool replace, int* error) {
    done_ = true;
    if (tempPath_.empty()) return fd_.Reset() || (*error = errno, false);
    if (!Allowed(FaultCall::Close) || !fd_.Reset()) return (*error = errno, false);
    struct stat st {};
    const bool targetThere = ::stat(target_.c_str(), &st) == 0;
    bool ok;
    if (replace && inPlace_ && targetThere && st.st_nlink > 1)
        ok = CopyInPlace(error);
    else if (replace)
        ok = (Allowed(FaultCall::Rename) && ::rename(tempPath_.c_str(), target_.c_str()) == 0) ||
             (*error = errno, false);
    else
        ok = RenameWithoutReplacing(error);
    if (!ok && !tempPath_.empty()) return false;
    tempPath_.clear();
    // The name is in place but not yet durable until its folder is synced: a failure here is a failure.
    if (SyncDirectory(DirectoryOf(target_))) return ok;
    *error = errno;
    return false;
}

void RecordFile::Rollback() {
    done_ = true;
    fd_.Reset();
    if (!tempPath_.empty()) ::unlink(tempPath_.c_str());
}

std::optional<std::string> RecordFile::Adopt(const std::string& partial, const std::string& target,
                                             int* error) {
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? target : Numbered(target, n);
        if (Link(partial, name)) {
            if (!Unlink(partial) || !SyncDirectory(DirectoryOf(name))) break;
            return name;
        }
        if (errno != EEXIST) break;
    }
    *error = errno;
    return std::nullopt;
}

bool RecordFile::Live(const std::string& partial) {
    UniqueFd fd(::open(partial.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) return false;
    if (::flock(fd.get(), LOCK_SH | LOCK_NB) == 0) return false;
    return errno == EWOULDBLOCK;
}

std::vector<RecordFile::Leftover> RecordFile::Leftovers(const std::string& path) {
    std::vector<Leftover> found;
    const std::optional<std::string> target = PathThroughLinks(path);
    if (!target) return found;
    const std::string folder = DirectoryOf(*target);
    const std::string prefix = NameOf(*target) + ".";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() <= prefix.size() + kPartialSuffix.size() || name.substr(0, prefix.size()) != prefix ||
            name.substr(name.size() - kPartialSuffix.size()) != kPartialSuffix)
            continue;
        const std::string full = folder + "/" + std::string(name);
        // A receive still running holds its partial file's lock: it is not left over.
        if (Live(full)) continue;
        found.push_back({full, CountRecords(full)});
    }
    ::closedir(dir);
    return found;
}

}  // namespace k52
