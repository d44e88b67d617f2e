// The names a terminal's records go by on the desk, from the device it is on.
#pragma once

#include <string>

namespace k52 {

// The name a terminal goes by in a folder: its device's own name (a by-id path's by-id name).
std::string TerminalName(const std::string& device);
// The file name a terminal's records get in a receive folder: its name and ".TXT".
std::string RecordFileName(const std::string& device);

}  // namespace k52
