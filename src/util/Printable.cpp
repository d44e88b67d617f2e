// Escaping control characters in UTF-8 text.
#include "util/Printable.h"
#include "util/Hex.h"

namespace k52 {

std::string Printable(std::string_view utf8, std::size_t* escapes) {
    std::string out;
    out.reserve(utf8.size());
    if (escapes) *escapes = 0;
    auto escape = [&out, escapes](unsigned byte) {
        if (escapes) ++*escapes;
        out += "\\x" + HexByte(static_cast<unsigned char>(byte));
    };
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) {
            escape(c);
        } else if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
            escape(static_cast<unsigned char>(utf8[++i]));  // U+0080..U+009F, the C1 controls
        } else {
            out += utf8[i];
        }
    }
    return out;
}

std::size_t Utf8CharacterLength(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned c = b(i);
    if (c < 0x80) return 1;
    std::size_t n = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((b(i + k) & 0xC0) != 0x80) return 0;
    // No overlong forms, surrogates or code points beyond U+10FFFF.
    if ((c == 0xE0 && b(i + 1) < 0xA0) || (c == 0xED && b(i + 1) > 0x9F) || (c == 0xF0 && b(i + 1) < 0x90) ||
        (c == 0xF4 && b(i + 1) > 0x8F))
        return 0;
    return n;
}

bool IsUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = Utf8CharacterLength(bytes, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string PrintableBytes(std::string_view bytes) {
    std::string valid;
    std::string out;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = Utf8CharacterLength(bytes, i);
        if (n > 0) {
            valid.append(bytes.substr(i, n));
            i += n;
            continue;
        }
        out += Printable(valid);
        valid.clear();
        out += "\\x" + HexByte(static_cast<unsigned char>(bytes[i++]));
    }
    return out + Printable(valid);
}

}  // namespace k52
