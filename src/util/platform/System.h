// The small operating-system services the core needs beyond files and the serial line: what a path
// names, folders, the user's config folder, the console, local time and the language hint. One
// implementation per platform (System_posix.cpp, System_windows.cpp); callers see UTF-8 paths only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace k52::platform {

// The characters that end a folder's name in a path, and the one this system writes.
#ifdef _WIN32
inline constexpr const char* kPathSeparators = "/\\";
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr const char* kPathSeparators = "/";
inline constexpr char kPathSeparator = '/';
#endif

enum class PathKind { Missing, Regular, Directory, Other };

// What `path` names, links followed. On a failure other than "not there" the result is Missing and
// errno holds why.
PathKind KindOf(const std::string& path);

// True when the system reads `path` as a device in whatever folder it is (Windows' CON, NUL, COM1.txt);
// never on Linux, whose devices live in /dev and are found by KindOf.
bool IsDeviceName(const std::string& path);

// True when `path` names anything, a dangling symbolic link included.
bool EntryExists(const std::string& path);

// True when both paths name one file.
bool SameFile(const std::string& a, const std::string& b);

// Which file a path names (links followed): equal identities are one file under any of its names.
struct FileId {
    unsigned long long device = 0, inode = 0;
    unsigned long links = 0;
    bool operator==(const FileId& o) const { return device == o.device && inode == o.inode; }
    bool operator<(const FileId& o) const { return device != o.device ? device < o.device : inode < o.inode; }
};
std::optional<FileId> IdentityOf(const std::string& path);

// What a system call said when a caller branches on it: 0, or the errno value it failed with.
struct SysError {
    int number = 0;
    explicit operator bool() const { return number != 0; }
};

// Creates one folder (`mode` where the system has modes); EEXIST when one is there already.
SysError MakeDirectory(const std::string& path, unsigned mode);

// The folder the user's settings live in: $XDG_CONFIG_HOME or ~/.config on Linux, %APPDATA% on Windows.
std::string UserConfigFolder();

// The folder for what a program keeps between runs that is neither settings nor the user's documents
// (recovery copies, history): $XDG_STATE_HOME or ~/.local/state on Linux, %LOCALAPPDATA% on Windows.
std::string UserStateFolder();

// The folders that hold the settings an administrator gives every user, most important first:
// $XDG_CONFIG_DIRS (else /etc/xdg) on Linux, %PROGRAMDATA% on Windows.
std::vector<std::string> SystemConfigFolders();

// The standard error stream is a console (live progress) rather than a file or pipe; its width when known.
bool StandardErrorIsTerminal();
std::optional<unsigned> StandardErrorColumns();

struct CivilTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
CivilTime LocalNow();

// The locale name the system gives for the user's language ("en_US.UTF-8", "zh-TW"), from the usual
// variables first; empty when none is set.
std::string UserLocaleName();

// Calls `handler` (from a signal or console thread: it must only set a flag) on Ctrl+C and on the
// requests to end the program (SIGTERM and SIGHUP; on Windows the console's close and log-off events).
// Blocking waits are not restarted, so they end at once.
void CatchStopRequests(void (*handler)(int));

// For an event loop: a descriptor that turns readable when the program is asked to end (SIGTERM, SIGHUP,
// SIGINT); each request is one byte, the signal's number. The request itself is left to the caller, who
// ends the program with EndByStopRequest. -1 where the system has no such signals (Windows).
int WatchStopRequests();
// The signal of the next waiting stop request; 0 when none waits.
int TakeStopRequest();
// Ends the program as the stop request `signal` would have ended it without a handler.
[[noreturn]] void EndByStopRequest(int signal);

// Standard output and error for a command-line program: a closed pipe is an error to report, not a
// signal; on Windows the bytes go out unchanged (no CR added) and a console shows UTF-8.
void PrepareStandardStreams();

// The program's arguments as UTF-8 (on Windows from the wide command line, so any file name works).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// The name this machine goes by on the network; empty when the system gives none.
std::string HostName();

// The id of this process, as other processes see it.
unsigned long ProcessId();

// True while a process with this id runs.
bool ProcessRunning(unsigned long pid);

// Tells the service manager that started this process how it is ("READY=1", "STATUS=...", "WATCHDOG=1",
// "STOPPING=1"), through the socket NOTIFY_SOCKET names. False where there is none (started by hand, or
// Windows): it then costs nothing.
bool NotifyServiceManager(const std::string& state);

// How often the service manager wants "WATCHDOG=1" from this process (WATCHDOG_USEC), in milliseconds;
// 0 when it wants none.
std::int64_t ServiceWatchdogMs();

// True when standard output is a stream into the system journal (JOURNAL_STREAM names it): its lines
// then go better as entries of their own, with fields.
bool StandardOutputIsJournal();

// One journal entry of "NAME=value" fields (a value may hold any bytes) sent to the journal's socket.
// False with nothing sent when the journal is not there.
bool SendToJournal(const std::vector<std::pair<std::string, std::string>>& fields,
                   const std::string& socket = "/run/systemd/journal/socket");

// Ends this process at once, as kill -9 would: nothing is flushed, no destructor runs.
[[noreturn]] void KillSelf();

}  // namespace k52::platform
