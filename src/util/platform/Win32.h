// Shared by the *_windows.cpp files only: UTF-8 <-> UTF-16 and Win32 errors as errno values, so that
// both systems give a person the same words ("No such file or directory", "Permission denied").
#pragma once

#include <windows.h>

#include <string>

namespace k52::platform {

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);
// Maps a GetLastError() value to the errno a POSIX system gives for the same failure.
int ErrnoFromWin32(DWORD error);
// Sets errno from GetLastError() and returns it.
int SetErrnoFromLastError();

}  // namespace k52::platform
