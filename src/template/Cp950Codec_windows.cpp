// One CP950 character to UTF-8 and back through Windows' code page 950, refusing best-fit guesses so
// that a character without a CP950 form is reported rather than silently replaced.
#include <windows.h>

#include "template/Cp950Codec.h"

namespace k52 {
namespace {

constexpr UINT kCp950 = 950;

// Windows maps CP950's user-defined rows (0x8140.., 0xFA40..) to the Private Use Area; Linux's table
// has no such characters. Refusing them both ways gives the same bytes and texts on both systems.
bool PrivateUse(const wchar_t* wide, int n) {
    for (int i = 0; i < n; ++i)
        if (wide[i] >= 0xE000 && wide[i] <= 0xF8FF) return true;
    return false;
}

}  // namespace

bool Cp950UnitToUtf8(std::string_view unit, std::string& out) {
    wchar_t wide[4];
    const int n = MultiByteToWideChar(kCp950, MB_ERR_INVALID_CHARS, unit.data(),
                                      static_cast<int>(unit.size()), wide, 4);
    if (n <= 0 || PrivateUse(wide, n)) return false;
    char utf8[16];
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, utf8, sizeof utf8, nullptr, nullptr);
    if (m <= 0) return false;
    out.append(utf8, static_cast<std::size_t>(m));
    return true;
}

bool Utf8UnitToCp950(std::string_view ch, std::string& out) {
    wchar_t wide[4];
    const int n =
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, ch.data(), static_cast<int>(ch.size()), wide, 4);
    if (n <= 0 || PrivateUse(wide, n)) return false;
    char bytes[8];
    BOOL usedDefault = FALSE;
    const int m = WideCharToMultiByte(kCp950, WC_NO_BEST_FIT_CHARS, wide, n, bytes, sizeof bytes, nullptr,
                                      &usedDefault);
    if (m <= 0 || usedDefault) return false;
    out.append(bytes, static_cast<std::size_t>(m));
    return true;
}

}  // namespace k52
