// Bytes as hexadecimal digits, two per byte.
#pragma once

#include <string>
#include <string_view>

namespace k52 {

enum class HexCase { Lower, Upper };

// "0a1b..." (or "0A1B..."), with `separator` between bytes.
std::string HexDigits(std::string_view bytes, HexCase letters = HexCase::Lower,
                      std::string_view separator = {});
// One byte's two digits.
std::string HexByte(unsigned char byte, HexCase letters = HexCase::Upper);

}  // namespace k52
