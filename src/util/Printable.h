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

// Bytes that need not be UTF-8 (a file or device name), shown as Printable shows text, with every byte
// that is not part of a well-formed UTF-8 character as \xNN too.
std::string PrintableBytes(std::string_view bytes);
// The length of the well-formed UTF-8 character at `i` (no overlong forms, no surrogates, nothing above
// U+10FFFF), or 0 when the byte there starts none. The one UTF-8 walker.
std::size_t Utf8CharacterLength(std::string_view s, std::size_t i);
// True when `bytes` is well-formed UTF-8.
bool IsUtf8(std::string_view bytes);

}  // namespace k52
