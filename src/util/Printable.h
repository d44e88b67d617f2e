// Text for a terminal that shows control characters instead of obeying them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace k52 {

// `utf8` with its control characters (C0, DEL, and C1 by its code point) shown as \xNN, so that printing it
// cannot move a terminal's cursor, change its colours or ring its bell. `escapes`, when given, counts the
// characters escaped.
std::string Printable(std::string_view utf8, std::size_t* escapes = nullptr);

}  // namespace k52
