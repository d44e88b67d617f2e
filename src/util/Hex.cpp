// The one hex encoder.
#include "util/Hex.h"

namespace k52 {

std::string HexByte(unsigned char byte, HexCase letters) {
    const char* digits = letters == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    return {digits[byte >> 4], digits[byte & 15]};
}

std::string HexDigits(std::string_view bytes, HexCase letters, std::string_view separator) {
    std::string out;
    out.reserve(bytes.size() * (2 + separator.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) out += separator;
        out += HexByte(static_cast<unsigned char>(bytes[i]), letters);
    }
    return out;
}

}  // namespace k52
