// Reading and matching the patterns an assignment may name an adapter by.
#include "ports/PortPatterns.h"

#include "ports/PortDevices.h"

namespace k52 {
namespace {

std::optional<int> HexId(std::string_view text) {
    if (text.size() != 4) return std::nullopt;
    int value = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

bool Glob(std::string_view pattern, std::string_view text) {
    // Backtracks to the last '*' only: linear enough for names of a hundred characters.
    std::size_t p = 0, t = 0, star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

std::optional<DevicePattern> ParseDevicePattern(std::string_view text) {
    DevicePattern pattern;
    if (text.starts_with("usb:")) {
        const std::string_view rest = text.substr(4);
        const auto vid = HexId(rest.substr(0, 4));
        const auto pid = rest.size() >= 9 && rest[4] == ':' ? HexId(rest.substr(5, 4)) : std::nullopt;
        if (!vid || !pid) return std::nullopt;
        if (rest.size() > 9 && (rest[9] != ':' || rest.size() == 10)) return std::nullopt;
        pattern.kind = DevicePattern::Kind::Usb;
        pattern.vid = *vid;
        pattern.pid = *pid;
        if (rest.size() > 10) pattern.serial = std::string(rest.substr(10));
        return pattern;
    }
    if (text.starts_with("serial:")) {
        if (text.size() == 7) return std::nullopt;
        pattern.kind = DevicePattern::Kind::Serial;
        pattern.serial = std::string(text.substr(7));
        return pattern;
    }
    if (DeviceNameIsAbsolute(text) && text.find_first_of("*?") != std::string_view::npos) {
        pattern.glob = std::string(text);
        return pattern;
    }
    return std::nullopt;
}

bool PatternMatches(const DevicePattern& pattern, const DiscoveredPort& port) {
    switch (pattern.kind) {
        case DevicePattern::Kind::Usb:
            return port.vid == pattern.vid && port.pid == pattern.pid &&
                   (!pattern.serial || port.serial == pattern.serial);
        case DevicePattern::Kind::Serial:
            return port.serial == pattern.serial;
        case DevicePattern::Kind::Glob:
            break;
    }
    return Glob(pattern.glob, port.device) || (port.byId && Glob(pattern.glob, *port.byId));
}

const DiscoveredPort* FirstMatch(const DevicePattern& pattern, const std::vector<DiscoveredPort>& ports) {
    for (const DiscoveredPort& port : ports)
        if (PatternMatches(pattern, port)) return &port;
    return nullptr;
}

}  // namespace k52
