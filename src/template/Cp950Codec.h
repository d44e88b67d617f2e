// One character between code page 950 and UTF-8, through the system's own tables: iconv on Linux, code
// page 950 on Windows.
#pragma once

#include <string>
#include <string_view>

namespace k52 {

// Appends the UTF-8 of one CP950 character (one or two bytes); false when it has none.
bool Cp950UnitToUtf8(std::string_view unit, std::string& out);
// Appends the CP950 bytes of one UTF-8 character; false when code page 950 cannot hold it.
bool Utf8UnitToCp950(std::string_view ch, std::string& out);

}  // namespace k52
