// The host's serial ports through libserialport, with their stable /dev/serial/by-id names.
#include "ports/PortDiscovery.h"

#include <libserialport.h>

#include <algorithm>

#include "ports/PortResolver.h"

namespace k52 {
namespace {

std::optional<std::string> Text(const char* s) {
    if (s == nullptr || *s == '\0') return std::nullopt;
    return std::string(s);
}

}  // namespace

std::vector<DiscoveredPort> SystemPortScanner::Scan() {
    std::vector<DiscoveredPort> found;
    sp_port** list = nullptr;
    if (sp_list_ports(&list) != SP_OK) return found;
    for (sp_port** p = list; *p != nullptr; ++p) {
        DiscoveredPort d;
        d.device = Text(sp_get_port_name(*p)).value_or("");
        if (d.device.empty()) continue;
        d.description = Text(sp_get_port_description(*p)).value_or(d.device);
        switch (sp_get_port_transport(*p)) {
            case SP_TRANSPORT_USB: {
                d.transport = PortTransport::Usb;
                int vid = 0, pid = 0;
                if (sp_get_port_usb_vid_pid(*p, &vid, &pid) == SP_OK) {
                    d.vid = vid;
                    d.pid = pid;
                }
                d.serial = Text(sp_get_port_usb_serial(*p));
                break;
            }
            case SP_TRANSPORT_BLUETOOTH:
                d.transport = PortTransport::Bluetooth;
                break;
            case SP_TRANSPORT_NATIVE:
                break;
        }
        if (std::string stable = StableDevicePath(d.device, byIdFolder_); stable != d.device) d.byId = stable;
        found.push_back(std::move(d));
    }
    sp_free_port_list(list);
    std::sort(found.begin(), found.end(),
              [](const DiscoveredPort& a, const DiscoveredPort& b) { return a.device < b.device; });
    return found;
}

}  // namespace k52
