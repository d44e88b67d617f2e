// Saving a whole file atomically where possible, in place where the file's links or owner require it.
#include "util/SaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "util/FaultPoint.h"
#include "util/Paths.h"
#include "util/RegularFile.h"
#include "util/UniqueFd.h"

namespace k52 {
namespace {

// The test seam's verdict for one call: false with errno set when a test has it fail.
bool Allowed(FaultCall call) {
    if (const int e = FaultAt(call)) {
        errno = e;
        return false;
    }
    return true;
}

// The kernel's own bound on a chain of symbolic links.
constexpr int kMaxLinkHops = 40;

struct Failure {
    std::string* reason;
    bool operator()(const char* why) const {
        if (reason) *reason = why;
        return false;
    }
    bool Errno() const { return (*this)(std::strerror(errno)); }
};

// The path a write through `path` would reach: symbolic links followed, even to a file not yet there.
std::optional<std::string> FollowLinks(const std::string& path, const Failure& fail) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0) {
            if (errno == ENOENT) return current;
            fail.Errno();
            return std::nullopt;
        }
        if (!S_ISLNK(st.st_mode)) return current;
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0) {
            fail.Errno();
            return std::nullopt;
        }
        std::string next(target.data(), static_cast<std::size_t>(n));
        if (!next.empty() && next[0] != '/' && current.find('/') != std::string::npos)
            next = DirectoryOf(current) + "/" + next;
        current = next;
    }
    fail(std::strerror(ELOOP));
    return std::nullopt;
}

bool WriteInPlace(UniqueFd fd, const void* data, std::size_t size, const Failure& fail) {
    // Writing before truncating keeps the old bytes beyond the new end until the new ones are there.
    if (!Allowed(FaultCall::Write) || !WriteAll(fd.get(), data, size) ||
        ::ftruncate(fd.get(), static_cast<off_t>(size)) != 0 || !Allowed(FaultCall::Sync) ||
        ::fsync(fd.get()) != 0)
        return fail.Errno();
    if (!fd.Reset()) return fail.Errno();
    return true;
}

// Failed: the new contents took the name, but the folder could not be synced.
enum class Replaced { Yes, No, OwnerNotKept, Failed };

// The temporary file's name is short and fixed in length, so a target whose own name is as long as a
// folder entry may be still gets one.
Replaced ReplaceAtomically(const std::string& target, const struct stat* existing, const void* data,
                           std::size_t size, const Failure& fail) {
    const std::string folder = DirectoryOf(target);
    std::string pattern = folder + "/.k52-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    UniqueFd fd(Allowed(FaultCall::Open) ? ::mkostemp(name.data(), O_CLOEXEC) : -1);
    if (!fd) {
        fail.Errno();
        return Replaced::No;
    }
    auto abandon = [&](Replaced how) {
        const int saved = errno;
        fd.Reset();
        ::unlink(name.data());
        errno = saved;
        if (how == Replaced::No) fail.Errno();
        return how;
    };
    mode_t mode;
    if (existing) {
        // The owner first: changing it clears set-id bits that the mode then restores. The new file's
        // group may come from the folder, so it is compared rather than assumed.
        struct stat made {};
        if (::fstat(fd.get(), &made) != 0) return abandon(Replaced::No);
        if ((made.st_uid != existing->st_uid || made.st_gid != existing->st_gid) &&
            ::fchown(fd.get(), existing->st_uid, existing->st_gid) != 0)
            return abandon(Replaced::OwnerNotKept);
        mode = existing->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (!Allowed(FaultCall::Write) || !WriteAll(fd.get(), data, size) || ::fchmod(fd.get(), mode) != 0 ||
        !Allowed(FaultCall::Sync) || ::fsync(fd.get()) != 0 || !fd.Reset())
        return abandon(Replaced::No);
    if (!Allowed(FaultCall::Rename) || ::rename(name.data(), target.c_str()) != 0)
        return abandon(Replaced::No);
    // Until its folder is synced the new name may not outlive a power cut: a failure here is a failure.
    UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir || !Allowed(FaultCall::Sync) || (::fsync(dir.get()) != 0 && errno != EINVAL)) {
        fail(("syncing the folder failed: " + std::string(std::strerror(errno))).c_str());
        return Replaced::Failed;
    }
    return Replaced::Yes;
}

}  // namespace

bool SaveWholeFile(const std::string& path, const void* data, std::size_t size, std::string* reason) {
    const Failure fail{reason};
    const std::optional<std::string> target = FollowLinks(path, fail);
    if (!target) return false;

    struct stat st {};
    if (::stat(target->c_str(), &st) != 0) {
        if (errno != ENOENT) return fail.Errno();
        return ReplaceAtomically(*target, nullptr, data, size, fail) == Replaced::Yes;
    }
    if (S_ISDIR(st.st_mode)) return fail(std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) return fail(kNotRegularFileReason);
    // Opening it for writing asks exactly what a plain write would ask, read-only files included.
    UniqueFd existing(::open(target->c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!existing) return fail.Errno();
    if (::fstat(existing.get(), &st) != 0) return fail.Errno();
    if (!S_ISREG(st.st_mode)) return fail(kNotRegularFileReason);

    if (st.st_nlink > 1) return WriteInPlace(std::move(existing), data, size, fail);
    switch (ReplaceAtomically(*target, &st, data, size, fail)) {
        case Replaced::Yes:
            return true;
        case Replaced::OwnerNotKept:
            return WriteInPlace(std::move(existing), data, size, fail);
        case Replaced::No:
        case Replaced::Failed:
            break;
    }
    return false;
}

std::optional<std::string> PathThroughLinks(const std::string& path, std::string* reason) {
    return FollowLinks(path, Failure{reason});
}

}  // namespace k52
