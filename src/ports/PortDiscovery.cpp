// How discovered ports are named for people and for JSON; the scan itself is per platform.
#include "ports/PortDiscovery.h"

#include <cstdio>

#include "i18n/Translate.h"

namespace k52 {

std::string_view TransportKey(PortTransport transport) {
    switch (transport) {
        case PortTransport::Usb:
            return "usb";
        case PortTransport::Bluetooth:
            return "bluetooth";
        case PortTransport::Native:
            break;
    }
    return "native";
}

std::string_view TransportLabel(PortTransport transport) {
    switch (transport) {
        case PortTransport::Usb:
            return K52_EN("USB");
        case PortTransport::Bluetooth:
            return K52_EN("Bluetooth");
        case PortTransport::Native:
            break;
    }
    return K52_EN("native");
}

std::string UsbIdText(int id) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", static_cast<unsigned>(id) & 0xFFFFu);
    return buf;
}

}  // namespace k52
