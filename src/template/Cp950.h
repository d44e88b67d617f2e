// Code page 950 texts: the stored and transmitted form of every text. Conversion to UTF-8 goes through
// iconv; lengths and cuts count bytes, and a cut never splits a double-byte character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace k52 {

// A first byte of a double-byte character.
constexpr bool IsCp950LeadByte(std::uint8_t b) {
    return b >= 0x81 && b <= 0xFE;
}

// Decodes CP950 bytes to UTF-8. Bytes that do not form a character become U+FFFD; nothing is dropped
// silently and nothing is read beyond the input.
std::string Cp950ToUtf8(std::string_view cp950);

struct Cp950Encoding {
    std::string bytes;                    // the characters CP950 can hold
    std::vector<std::string> unmappable;  // UTF-8 of each character it cannot hold, in order
};

// Encodes UTF-8 to CP950, leaving out (and reporting) characters CP950 cannot hold. Malformed UTF-8
// sequences count as unmappable.
Cp950Encoding Utf8ToCp950(std::string_view utf8);

// The longest prefix of at most `limit` bytes that does not end inside a double-byte character.
std::string_view CutToByteLimit(std::string_view cp950, std::size_t limit);

// The text of a fixed-width field: up to its first NUL, or its whole width when it has none.
std::string_view FieldText(const std::uint8_t* field, std::size_t width);
template <std::size_t N>
std::string_view FieldText(const std::uint8_t (&field)[N]) {
    return FieldText(field, N);
}

// Stores `text` into a fixed-width field, cut to `limit` bytes (at most the width) without splitting a
// character; the rest of the field is zero, so a text as wide as the field has no terminator.
void WriteFieldText(std::uint8_t* field, std::size_t width, std::string_view text, std::size_t limit);
template <std::size_t N>
void WriteFieldText(std::uint8_t (&field)[N], std::string_view text, std::size_t limit = N) {
    WriteFieldText(field, N, text, limit);
}

// Field text decoded to UTF-8.
template <std::size_t N>
std::string FieldUtf8(const std::uint8_t (&field)[N]) {
    return Cp950ToUtf8(FieldText(field));
}

}  // namespace k52
