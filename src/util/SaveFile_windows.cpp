// Saving a whole file atomically on Windows: a temporary file beside the target, flushed to disk, moved
// over it with write-through; the target's attributes are kept.
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "util/Paths.h"
#include "util/RegularFile.h"
#include "util/SaveFile.h"
#include "util/platform/System.h"
#include "util/platform/Win32.h"

namespace k52 {
namespace {

struct Failure {
    std::string* reason;
    bool operator()(const char* why) const {
        if (reason) *reason = why;
        return false;
    }
    bool LastError() const {
        platform::SetErrnoFromLastError();
        return (*this)(std::strerror(errno));
    }
};

class Handle {
  public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    void Reset(HANDLE h) {
        Close();
        h_ = h;
    }
    bool Close() {
        const bool ok = !valid() || CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok;
    }

  private:
    HANDLE h_;
};

bool WriteAllTo(HANDLE h, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD done = 0;
        if (!WriteFile(h, bytes, chunk, &done, nullptr) || done == 0) return false;
        bytes += done;
        size -= done;
    }
    return true;
}

}  // namespace

bool SaveWholeFile(const std::string& path, const void* data, std::size_t size, std::string* reason) {
    const Failure fail{reason};
    // Writing CON or NUL "succeeds" and stores nothing, in any folder.
    if (platform::IsDeviceName(path)) return fail(kDeviceNameReason);
    const std::wstring target = platform::Widen(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND) return fail.LastError();
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return fail(std::strerror(EISDIR));
    if (exists && (attributes & FILE_ATTRIBUTE_DEVICE)) return fail(kNotRegularFileReason);
    // A read-only file is refused, as Windows itself refuses to open it for writing.
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) return fail(std::strerror(EACCES));
    if (exists) {
        // Opening it for writing asks what a plain write would ask: a read-only file is refused.
        Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.valid()) return fail.LastError();
    }
    const std::string folder = DirectoryOf(path);
    std::wstring temp;
    Handle out(INVALID_HANDLE_VALUE);
    for (unsigned attempt = 0; attempt < 100 && !out.valid(); ++attempt) {
        temp = platform::Widen(folder + "\\.k52-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(GetTickCount() + attempt));
        out.Reset(
            CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out.valid() && GetLastError() != ERROR_FILE_EXISTS) return fail.LastError();
    }
    if (!out.valid()) return fail.LastError();
    auto abandon = [&] {
        const DWORD error = GetLastError();
        out.Close();
        DeleteFileW(temp.c_str());
        SetLastError(error);
        return fail.LastError();
    };
    if (!WriteAllTo(out.get(), data, size) || !FlushFileBuffers(out.get()) || !out.Close()) return abandon();
    if (exists) SetFileAttributesW(temp.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return abandon();
    return true;
}

// Windows programs do not follow symbolic links on their own here: the path is the file.
std::optional<std::string> PathThroughLinks(const std::string& path, std::string*) {
    return path;
}

}  // namespace k52
