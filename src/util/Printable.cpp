// Escaping control characters in UTF-8 text.
#include "util/Printable.h"

namespace k52 {

std::string Printable(std::string_view utf8, std::size_t* escapes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8.size());
    if (escapes) *escapes = 0;
    auto escape = [&out, escapes](unsigned byte) {
        if (escapes) ++*escapes;
        out += "\\x";
        out += kDigits[byte >> 4];
        out += kDigits[byte & 15];
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

}  // namespace k52
