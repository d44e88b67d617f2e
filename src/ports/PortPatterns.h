// An assignment that names an adapter by what it is rather than where it is plugged in, so that one
// ports.conf serves every desk: its USB vendor and product (and serial number), its serial number alone,
// or a glob over its device and by-id names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ports/PortDiscovery.h"

namespace k52 {

struct DevicePattern {
    enum class Kind { Usb, Serial, Glob } kind = Kind::Glob;
    int vid = 0, pid = 0;               // Kind::Usb
    std::optional<std::string> serial;  // Kind::Serial; Kind::Usb when given
    std::string glob;                   // Kind::Glob: '*' any run of characters, '?' any one
};

// "usb:0403:6001", "usb:0403:6001:A1B2C3" (hexadecimal ids, any case), "serial:A1B2C3", or an absolute
// path holding '*' or '?' ("/dev/serial/by-id/usb-FTDI_*"); nullopt for a plain device path and for
// anything else.
std::optional<DevicePattern> ParseDevicePattern(std::string_view text);

// Whether `port` is one the pattern names; a glob is tried on its device and on its by-id name.
bool PatternMatches(const DevicePattern& pattern, const DiscoveredPort& port);

// The first of `ports` (they come sorted by device) the pattern names.
const DiscoveredPort* FirstMatch(const DevicePattern& pattern, const std::vector<DiscoveredPort>& ports);

}  // namespace k52
