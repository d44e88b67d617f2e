// The one way text becomes an unsigned number: whole-string, range-checked, decimal or 0x-prefixed hex.
#pragma once

#include <charconv>
#include <concepts>
#include <limits>
#include <optional>
#include <string_view>

namespace k52 {

enum class NumberBase { Decimal, DecimalOrHex };

// The value of `text` when all of it is a number no greater than `max`; nullopt otherwise (empty, a sign,
// spaces, trailing characters, overflow).
template <std::unsigned_integral T>
std::optional<T> ParseUnsigned(std::string_view text, T max = std::numeric_limits<T>::max(),
                               NumberBase base = NumberBase::Decimal) {
    int radix = 10;
    if (base == NumberBase::DecimalOrHex && text.size() > 2 && text[0] == '0' &&
        (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        radix = 16;
    }
    if (text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, radix);
    if (ec != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
    return value;
}

}  // namespace k52
