// The line speeds as termios names them, both ways: the host's line and the emulated terminal's side
// of a pseudo-terminal read the same table. POSIX only.
#pragma once

#include <termios.h>

#include <cstdint>
#include <optional>

namespace k52 {

struct TermiosSpeedName {
    std::uint32_t bps;
    speed_t code;
};

inline constexpr TermiosSpeedName kTermiosSpeeds[] = {
    {9600, B9600}, {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200},
};

inline std::optional<speed_t> TermiosSpeed(std::uint32_t bps) {
    for (const TermiosSpeedName& s : kTermiosSpeeds)
        if (s.bps == bps) return s.code;
    return std::nullopt;
}

// Bits per second of a termios speed; 0 for one the terminal does not use.
inline std::uint32_t BitsPerSecond(speed_t code) {
    for (const TermiosSpeedName& s : kTermiosSpeeds)
        if (s.code == code) return s.bps;
    return 0;
}

}  // namespace k52
