// CP950 text: decoding, encoding and the byte-limited cut, on any bytes.
#include <cstring>
#include <string>

#include "FuzzInput.h"
#include "template/Cp950.h"

using namespace k52;

namespace {

bool ValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// The cut ends on a character boundary when walking from the start by lead bytes.
bool EndsOnBoundary(std::string_view cut) {
    std::size_t i = 0;
    while (i < cut.size()) i += IsCp950LeadByte(static_cast<std::uint8_t>(cut[i])) ? 2 : 1;
    return i == cut.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    const std::size_t limit = in.Byte();
    const std::string_view bytes = in.Take(in.remaining());

    const std::string_view cut = CutToByteLimit(bytes, limit);
    K52_FUZZ_CHECK(cut.size() <= limit && cut.size() <= bytes.size());
    K52_FUZZ_CHECK(bytes.substr(0, cut.size()) == cut);
    // A text that fits is kept whole; a cut one ends between characters, losing at most one byte of room.
    if (cut.size() < bytes.size()) {
        K52_FUZZ_CHECK(EndsOnBoundary(cut));
        K52_FUZZ_CHECK(cut.size() + 1 >= limit);
    }

    const std::string utf8 = Cp950ToUtf8(bytes);
    K52_FUZZ_CHECK(ValidUtf8(utf8));

    // Whatever CP950 can hold of a text decodes back to that text without the characters it left out.
    const Cp950Encoding encoded = Utf8ToCp950(utf8);
    if (encoded.unmappable.empty()) K52_FUZZ_CHECK(Cp950ToUtf8(encoded.bytes) == utf8);

    std::uint8_t field[21];
    std::memset(field, 0xAA, sizeof field);
    WriteFieldText(field, bytes, limit % 22);
    const std::string_view stored = FieldText(field);
    K52_FUZZ_CHECK(stored.size() <= limit % 22);
    K52_FUZZ_CHECK(bytes.substr(0, stored.size()) == stored);
    const std::string_view written = CutToByteLimit(bytes, limit % 22);
    K52_FUZZ_CHECK(std::memcmp(field, written.data(), written.size()) == 0);
    for (std::size_t i = written.size(); i < sizeof field; ++i) K52_FUZZ_CHECK(field[i] == 0);
    return 0;
}
