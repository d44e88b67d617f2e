// Writing received records durably and putting them in place only when there is something to keep, on
// Windows: the partial file through the wide C runtime, each record flushed, the final name taken by a
// write-through move that never replaces unless asked.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <utility>

#include "protocol/Protocol.h"
#include "transfer/RecordFile.h"
#include "util/Parse.h"
#include "util/Paths.h"
#include "util/platform/System.h"
#include "util/platform/Win32.h"

namespace k52 {

namespace {

constexpr std::string_view kPartialSuffix = ".partial";

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
}

std::string Join(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

int OpenWide(const std::string& path, int flags) {
    return ::_wopen(platform::Widen(path).c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

UniqueFd CreatePartial(const std::string& target, std::string* path) {
    const std::string folder = DirectoryOf(target);
    const std::string pid = std::to_string(platform::ProcessId());
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::string tag = pid + (attempt == 0 ? "" : "-" + std::to_string(attempt));
        std::string name = NameOf(target) + "." + tag + std::string(kPartialSuffix);
        if (name.size() > 255) name = "k52-receive-" + tag + std::string(kPartialSuffix);
        *path = Join(folder, name);
        UniqueFd fd(OpenWide(*path, _O_WRONLY | _O_CREAT | _O_EXCL));
        if (fd || errno != EEXIST) return fd;
    }
    return UniqueFd();
}

std::string Numbered(const std::string& target, int n) {
    const std::string folder = DirectoryOf(target);
    const std::string name = NameOf(target);
    const auto dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string ext = dot == std::string::npos || dot == 0 ? "" : name.substr(dot);
    return (target.find_first_of("/\\") == std::string::npos ? "" : folder + "\\") + stem + "-" +
           std::to_string(n) + ext;
}

bool Move(const std::string& from, const std::string& to, bool replace) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (MoveFileExW(platform::Widen(from).c_str(), platform::Widen(to).c_str(), flags)) return true;
    platform::SetErrnoFromLastError();
    return false;
}

}  // namespace

std::optional<RecordFile> RecordFile::Create(const std::string& path, int* error) {
    const std::string target = path;
    const platform::PathKind kind = platform::KindOf(target);
    if (kind == platform::PathKind::Directory) {
        *error = EISDIR;
        return std::nullopt;
    }
    if (kind == platform::PathKind::Other) {
        // A device (NUL, a console): a stream to write into, not a file to replace.
        UniqueFd fd(OpenWide(target, _O_WRONLY));
        if (!fd) {
            *error = errno;
            return std::nullopt;
        }
        return RecordFile(std::move(fd), target, "", false);
    }
    const bool exists = kind == platform::PathKind::Regular;
    const DWORD attributes = exists ? GetFileAttributesW(platform::Widen(target).c_str()) : 0;
    // A read-only file stays as it is.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        *error = EACCES;
        return std::nullopt;
    }
    std::string temp;
    UniqueFd fd = CreatePartial(target, &temp);
    if (!fd) {
        *error = errno;
        return std::nullopt;
    }
    return RecordFile(std::move(fd), target, temp, false);
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
    const long long before = tempPath_.empty() ? 0 : ::_lseeki64(fd_.get(), 0, SEEK_CUR);
    std::size_t written = 0;
    // _commit is FlushFileBuffers: the record is on disk before the terminal hears it was taken.
    bool ok =
        WriteAll(fd_.get(), line, size + 2, &written) && (tempPath_.empty() || ::_commit(fd_.get()) == 0);
    if (ok) return true;
    *error = errno;
    if (!tempPath_.empty() && written > 0 && ::_chsize_s(fd_.get(), before) == 0)
        ::_lseeki64(fd_.get(), before, SEEK_SET);
    return false;
}

bool RecordFile::CopyInPlace(int* error) {
    *error = ENOTSUP;
    return false;
}

bool RecordFile::RenameWithoutReplacing(int* error) {
    const std::string wanted = target_;
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? wanted : Numbered(wanted, n);
        // A move without MOVEFILE_REPLACE_EXISTING never replaces a name.
        if (Move(tempPath_, name, false)) {
            target_ = name;
            tempPath_.clear();
            return true;
        }
        if (errno != EEXIST) return (*error = errno, false);
    }
    *error = EEXIST;
    return false;
}

bool RecordFile::Commit(bool replace, int* error) {
    done_ = true;
    if (tempPath_.empty()) return fd_.Reset() || (*error = errno, false);
    if (!fd_.Reset()) return (*error = errno, false);
    const bool ok =
        replace ? (Move(tempPath_, target_, true) || (*error = errno, false)) : RenameWithoutReplacing(error);
    if (!ok) return false;
    tempPath_.clear();
    return true;
}

void RecordFile::Rollback() {
    done_ = true;
    fd_.Reset();
    if (!tempPath_.empty()) DeleteFileW(platform::Widen(tempPath_).c_str());
}

long RecordFile::CountRecords(const std::string& path) {
    UniqueFd fd(OpenWide(path, _O_RDONLY));
    if (!fd) return 0;
    long records = 0;
    char buffer[65536];
    char previous = 0;
    for (int n; (n = ::_read(fd.get(), buffer, sizeof buffer)) > 0;) {
        for (int i = 0; i < n; ++i) {
            if (buffer[i] == '\n' && previous == '\r') ++records;
            previous = buffer[i];
        }
    }
    return records;
}

std::optional<std::string> RecordFile::Adopt(const std::string& partial, const std::string& target,
                                             int* error) {
    for (int n = 1; n < 10000; ++n) {
        const std::string name = n == 1 ? target : Numbered(target, n);
        if (Move(partial, name, false)) return name;
        if (errno != EEXIST) break;
    }
    *error = errno;
    return std::nullopt;
}

std::vector<RecordFile::Leftover> RecordFile::Leftovers(const std::string& path) {
    std::vector<Leftover> found;
    const std::string folder = DirectoryOf(path);
    const std::string prefix = NameOf(path) + ".";
    WIN32_FIND_DATAW entry{};
    HANDLE find = FindFirstFileW(platform::Widen(Join(folder, "*")).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        const std::string name = platform::Narrow(entry.cFileName);
        if (name.size() <= prefix.size() + kPartialSuffix.size() || name.substr(0, prefix.size()) != prefix ||
            !name.ends_with(kPartialSuffix))
            continue;
        std::string_view tag(name);
        tag = tag.substr(prefix.size(), name.size() - prefix.size() - kPartialSuffix.size());
        tag = tag.substr(0, tag.find('-'));
        const auto pid = ParseUnsigned<unsigned>(tag);
        // A receive still running holds its partial file: it is not left over.
        if (!pid || platform::ProcessRunning(*pid)) continue;
        const std::string full = Join(folder, name);
        found.push_back({full, CountRecords(full)});
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return found;
}

}  // namespace k52
