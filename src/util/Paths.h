// Taking file paths apart without touching the file system.
#pragma once

#include <string>
#include <string_view>

namespace k52 {

// The folder that holds `path`: "." for a bare name, "/" for a name in the root.
std::string DirectoryOf(const std::string& path);

// True when Windows takes the last part of `path` for a device in every folder: CON, PRN, AUX, NUL,
// COM0-COM9 and LPT0-LPT9, in any case, with any extension ("com1.txt", "NUL.csv") or trailing spaces
// and dots. Written out here so that Linux tests the rule too.
bool IsWindowsDeviceName(std::string_view path);

}  // namespace k52
