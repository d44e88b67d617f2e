// The five line speeds a template can name, by their stored code (0 = 115200 down to 4 = 9600).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace k52 {

inline constexpr std::array<std::uint32_t, 5> kLineSpeeds = {115200, 57600, 38400, 19200, 9600};

constexpr std::optional<std::uint32_t> SpeedOfBaudRate(int baudRate) {
    if (baudRate < 0 || baudRate >= static_cast<int>(kLineSpeeds.size())) return std::nullopt;
    return kLineSpeeds[static_cast<std::size_t>(baudRate)];
}

constexpr std::optional<int> BaudRateOfSpeed(std::uint32_t bitsPerSecond) {
    for (std::size_t i = 0; i < kLineSpeeds.size(); ++i)
        if (kLineSpeeds[i] == bitsPerSecond) return static_cast<int>(i);
    return std::nullopt;
}

static_assert(SpeedOfBaudRate(0) == 115200 && SpeedOfBaudRate(4) == 9600 && !SpeedOfBaudRate(5));
static_assert(BaudRateOfSpeed(38400) == 2 && !BaudRateOfSpeed(4800));

}  // namespace k52
