// flock on a file that stays (removing it would let two stations lock two files of one name). A file
// another user made is opened as it is (read-only when it must: flock needs no write access).
#include "station/StationLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>

namespace k52 {
namespace {

UniqueFd OpenLockFile(const std::string& path, bool* writable) {
    constexpr int kFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    *writable = true;
    // An existing file first: in a sticky shared folder O_CREAT on another user's file is refused.
    UniqueFd fd(::open(path.c_str(), O_RDWR | kFlags));
    if (!fd && errno == EACCES) {
        *writable = false;
        fd = UniqueFd(::open(path.c_str(), O_RDONLY | kFlags));
    }
    if (!fd && errno == ENOENT) {
        fd = UniqueFd(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kFlags, 0644));
        if (!fd && errno == EEXIST) return OpenLockFile(path, writable);
        if (fd) ::fchmod(fd.get(), 0644);  // whatever the umask: others read who holds it
    }
    return fd;
}

std::optional<StationHolder> ReadHolder(int fd) {
    std::string text;
    char buffer[1024];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
        at += n;
        if (text.size() > 16384) break;
    }
    const nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
    if (!j.is_object()) return std::nullopt;
    StationHolder h;
    h.pid = j.value("pid", 0ul);
    h.folder = j.value("folder", "");
    h.status = j.value("status", "");
    h.host = j.value("host", "");
    return h;
}

std::string Sanitised(const std::string& device) {
    std::string name;
    for (const char c : device.rfind("/dev/", 0) == 0 ? device.substr(5) : device)
        name += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' ? c : '_';
    return name;
}

}  // namespace

std::string HolderText(const StationHolder& h) {
    std::string text;
    if (h.pid != 0) text = "pid " + std::to_string(h.pid);
    if (!h.host.empty()) text += (text.empty() ? "" : " ") + std::string("on ") + h.host;
    if (!h.folder.empty()) text += (text.empty() ? "" : ", ") + std::string("folder ") + h.folder;
    return text.empty() ? "another station" : text;
}

std::optional<StationLock> StationLock::Take(const std::string& path, const StationHolder& self,
                                             StationHolder* holder, std::string* reason) {
    bool writable = false;
    UniqueFd fd = OpenLockFile(path, &writable);
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0) {
        if (reason) *reason = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        if (reason) *reason = path + ": not a regular file";
        return std::nullopt;
    }
    while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        if (errno == EWOULDBLOCK) {
            if (holder) *holder = ReadHolder(fd.get()).value_or(StationHolder{});
            if (reason) reason->clear();
        } else if (reason) {
            *reason = path + ": " + std::strerror(errno);
        }
        return std::nullopt;
    }
    if (writable) {
        const std::string text =
            nlohmann::json{
                {"pid", self.pid}, {"folder", self.folder}, {"status", self.status}, {"host", self.host}}
                .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) +
            "\n";
        // Who we are is a courtesy to the next station: a lock that could not say it is still held.
        if (::ftruncate(fd.get(), 0) == 0) {
            [[maybe_unused]] const ssize_t n = ::pwrite(fd.get(), text.data(), text.size(), 0);
        }
    }
    return StationLock(std::move(fd));
}

std::optional<StationHolder> StationLock::HolderOf(const std::string& path) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd) return std::nullopt;
    if (::flock(fd.get(), LOCK_SH | LOCK_NB) == 0) return std::nullopt;  // nobody holds it
    return ReadHolder(fd.get()).value_or(StationHolder{});
}

std::string DefaultLockDir() {
    if (::access("/run/lock", W_OK | X_OK) == 0) return "/run/lock";
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    return ec ? std::string("/tmp") : temp.string();
}

std::string PortLockPath(const std::string& lockDir, const std::string& device) {
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(device, ec);
    return lockDir + "/k52-port-" + Sanitised(ec ? device : real.string()) + ".lock";
}

std::string FolderLockPath(const std::string& folder) {
    return folder + "/station.lock";
}

}  // namespace k52
