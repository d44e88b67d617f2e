// The system services on Windows: file attributes, %APPDATA%, the console, local time, the UI language.
#include "util/platform/System.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>
// CommandLineToArgvW
#include <shellapi.h>

#include <cerrno>
#include <cstdlib>
#include <cwchar>

#include "util/Paths.h"
#include "util/platform/Win32.h"

namespace k52::platform {

PathKind KindOf(const std::string& path) {
    if (IsDeviceName(path)) return PathKind::Other;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data)) {
        SetErrnoFromLastError();
        return PathKind::Missing;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Directory;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) return PathKind::Other;
    return PathKind::Regular;
}

bool IsDeviceName(const std::string& path) {
    return IsWindowsDeviceName(path);
}

bool EntryExists(const std::string& path) {
    return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {
std::optional<BY_HANDLE_FILE_INFORMATION> FileIdentity(const std::string& path) {
    HANDLE h = CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!ok) return std::nullopt;
    return info;
}
}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    const auto ia = FileIdentity(a), ib = FileIdentity(b);
    return ia && ib && ia->dwVolumeSerialNumber == ib->dwVolumeSerialNumber &&
           ia->nFileIndexHigh == ib->nFileIndexHigh && ia->nFileIndexLow == ib->nFileIndexLow;
}

std::optional<FileId> IdentityOf(const std::string& path) {
    const auto info = FileIdentity(path);
    if (!info) return std::nullopt;
    return FileId{info->dwVolumeSerialNumber,
                  (static_cast<unsigned long long>(info->nFileIndexHigh) << 32) | info->nFileIndexLow,
                  info->nNumberOfLinks};
}

SysError MakeDirectory(const std::string& path, unsigned) {
    if (CreateDirectoryW(Widen(path).c_str(), nullptr)) return {};
    SetErrnoFromLastError();
    return {errno};
}

std::string UserConfigFolder() {
    if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData && *appData) return Narrow(appData);
    if (const wchar_t* profile = _wgetenv(L"USERPROFILE"); profile && *profile)
        return Narrow(profile) + "\\AppData\\Roaming";
    return ".";
}

std::string UserStateFolder() {
    if (const wchar_t* local = _wgetenv(L"LOCALAPPDATA"); local && *local) return Narrow(local);
    if (const wchar_t* profile = _wgetenv(L"USERPROFILE"); profile && *profile)
        return Narrow(profile) + "\\AppData\\Local";
    return ".";
}

std::vector<std::string> SystemConfigFolders() {
    if (const wchar_t* data = _wgetenv(L"PROGRAMDATA"); data && *data) return {Narrow(data)};
    return {};
}

bool StandardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::optional<unsigned> StandardErrorColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) return std::nullopt;
    return static_cast<unsigned>(info.srWindow.Right - info.srWindow.Left + 1);
}

CivilTime LocalNow() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string UserLocaleName() {
    for (const wchar_t* name : {L"LC_ALL", L"LC_MESSAGES", L"LANG"})
        if (const wchar_t* value = _wgetenv(name); value && *value) return Narrow(value);
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    if (GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH) > 0) return Narrow(locale);
    return {};
}

namespace {
void (*gStopHandler)(int) = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (!gStopHandler) return FALSE;
    gStopHandler(static_cast<int>(event));
    return TRUE;
}
}  // namespace

void CatchStopRequests(void (*handler)(int)) {
    gStopHandler = handler;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

int WatchStopRequests() {
    return -1;
}

int TakeStopRequest() {
    return 0;
}

void EndByStopRequest(int signal) {
    std::_Exit(128 + signal);
}

void PrepareStandardStreams() {
    // Binary mode: "\n" stays one byte, so a pipe gets exactly the bytes Linux writes.
    _setmode(1, _O_BINARY);
    _setmode(2, _O_BINARY);
    SetConsoleOutputCP(CP_UTF8);
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) args.push_back(Narrow(wide[i]));
    LocalFree(wide);
    return args;
}

std::string HostName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(name, &size)) return "";
    return Narrow(std::wstring(name, size));
}

unsigned long ProcessId() {
    return GetCurrentProcessId();
}

bool ProcessRunning(unsigned long pid) {
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (!h) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return running;
}

// No service manager of that kind and no journal here: the service layer on Windows is its own.
bool NotifyServiceManager(const std::string&) {
    return false;
}

std::int64_t ServiceWatchdogMs() {
    return 0;
}

bool StandardOutputIsJournal() {
    return false;
}

bool SendToJournal(const std::vector<std::pair<std::string, std::string>>&, const std::string&) {
    return false;
}

void KillSelf() {
    TerminateProcess(GetCurrentProcess(), 137);
    ExitProcess(137);
}

}  // namespace k52::platform
