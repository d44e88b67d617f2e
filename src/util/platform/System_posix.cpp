// The system services on POSIX: stat, mkdir, the XDG folders, the tty, localtime_r.
#include "util/platform/System.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>

namespace k52::platform {

PathKind KindOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return PathKind::Missing;
    return S_ISREG(st.st_mode)   ? PathKind::Regular
           : S_ISDIR(st.st_mode) ? PathKind::Directory
                                 : PathKind::Other;
}

bool EntryExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsDeviceName(const std::string&) {
    return false;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat sa {
    }, sb{};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

std::optional<FileId> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return FileId{static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
                  static_cast<unsigned long>(st.st_nlink)};
}

SysError MakeDirectory(const std::string& path, unsigned mode) {
    if (::mkdir(path.c_str(), static_cast<mode_t>(mode)) == 0) return {};
    return {errno};
}

namespace {

// $VARIABLE when it holds an absolute path (a relative one is invalid and ignored, as the base directory
// rules say), else `fallback` under the home folder.
std::string XdgFolder(const char* variable, const char* fallback) {
    if (const char* xdg = std::getenv(variable); xdg && xdg[0] == '/') return xdg;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return home + fallback;
}

}  // namespace

std::string UserConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string UserStateFolder() {
    return XdgFolder("XDG_STATE_HOME", "/.local/state");
}

std::vector<std::string> SystemConfigFolders() {
    std::vector<std::string> folders;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string_view rest = dirs && *dirs ? dirs : "/etc/xdg";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        // Relative entries are invalid and ignored, as for XDG_CONFIG_HOME.
        if (!dir.empty() && dir[0] == '/') folders.emplace_back(dir);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
    return folders;
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

std::optional<unsigned> StandardErrorColumns() {
    winsize screen{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &screen) != 0) return std::nullopt;
    return screen.ws_col;
}

CivilTime LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string UserLocaleName() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value) return value;
    return {};
}

void CatchStopRequests(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

namespace {

int stopPipe[2] = {-1, -1};

void ForwardStopRequest(int signal) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

int WatchStopRequests() {
    if (stopPipe[0] < 0 && ::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    CatchStopRequests(&ForwardStopRequest);
    return stopPipe[0];
}

int TakeStopRequest() {
    unsigned char signal = 0;
    if (stopPipe[0] < 0 || ::read(stopPipe[0], &signal, 1) != 1) return 0;
    return signal;
}

void EndByStopRequest(int signal) {
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    std::_Exit(128 + signal);
}

void PrepareStandardStreams() {
    signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return "";
    return name;
}

unsigned long ProcessId() {
    return static_cast<unsigned long>(getpid());
}

bool ProcessRunning(unsigned long pid) {
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

namespace {

// One datagram to a Unix socket: a path, or "@name" for the abstract namespace.
bool SendDatagram(const std::string& socketName, const std::string& data) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketName.empty() || socketName.size() >= sizeof address.sun_path) return false;
    if (socketName[0] != '/' && socketName[0] != '@') return false;
    std::memcpy(address.sun_path, socketName.data(), socketName.size());
    if (socketName[0] == '@') address.sun_path[0] = '\0';
    const socklen_t length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + socketName.size());
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const ssize_t sent = ::sendto(fd, data.data(), data.size(), MSG_NOSIGNAL,
                                  reinterpret_cast<const sockaddr*>(&address), length);
    ::close(fd);
    return sent == static_cast<ssize_t>(data.size());
}

}  // namespace

bool NotifyServiceManager(const std::string& state) {
    const char* socketName = std::getenv("NOTIFY_SOCKET");
    return socketName && SendDatagram(socketName, state);
}

std::int64_t ServiceWatchdogMs() {
    const char* usec = std::getenv("WATCHDOG_USEC");
    if (!usec) return 0;
    // A watchdog meant for another process (our parent's) is not ours to feed.
    if (const char* pid = std::getenv("WATCHDOG_PID"); pid && std::strtoul(pid, nullptr, 10) != ProcessId())
        return 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(usec, &end, 10);
    if (end == usec || *end != '\0' || value == 0) return 0;
    return static_cast<std::int64_t>(std::max<unsigned long long>(value / 1000, 1));
}

bool StandardOutputIsJournal() {
    const char* stream = std::getenv("JOURNAL_STREAM");
    struct stat st {};
    if (!stream || ::fstat(STDOUT_FILENO, &st) != 0) return false;
    unsigned long long dev = 0, ino = 0;
    if (std::sscanf(stream, "%llu:%llu", &dev, &ino) != 2) return false;
    return static_cast<unsigned long long>(st.st_dev) == dev &&
           static_cast<unsigned long long>(st.st_ino) == ino;
}

bool SendToJournal(const std::vector<std::pair<std::string, std::string>>& fields,
                   const std::string& socket) {
    std::string entry;
    for (const auto& [name, value] : fields) {
        if (value.find('\n') == std::string::npos) {
            entry += name + "=" + value + "\n";
            continue;
        }
        // A value with a line break goes as its length (64 bits, little-endian) and its bytes.
        entry += name + "\n";
        std::uint64_t size = value.size();
        for (int i = 0; i < 8; ++i) entry += static_cast<char>((size >> (8 * i)) & 0xff);
        entry += value + "\n";
    }
    return SendDatagram(socket, entry);
}

void KillSelf() {
    ::kill(::getpid(), SIGKILL);
    ::_exit(137);
}

}  // namespace k52::platform
