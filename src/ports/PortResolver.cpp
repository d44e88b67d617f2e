// Which device COMn stands for: the environment, then the user's assignments over the system-wide ones
// (a pattern matched against the host's ports), then /dev/ttyS<n-1>.
#include "ports/PortResolver.h"

#include <cstdlib>

#include "i18n/Translate.h"
#include "ports/PortDevices.h"
#include "ports/PortPatterns.h"

namespace k52 {

std::string_view AssignmentSourceName(AssignmentSource source) {
    switch (source) {
        case AssignmentSource::Environment:
            return K52_EN("environment");
        case AssignmentSource::File:
            return K52_EN("file");
        case AssignmentSource::Default:
            break;
    }
    return K52_EN("default");
}

std::string ComPortVariable(int comPort) {
    return "K52_" + ComPortName(comPort);
}

ComPortResolution ResolveComPort(int comPort, const ConfiguredPorts& configured, PortScanner& scanner) {
    ComPortResolution r;
    const bool known = comPort >= 0 && comPort < kComPortCount;
    if (const char* v = std::getenv(ComPortVariable(comPort).c_str()); v != nullptr && *v != '\0') {
        r.device = v;
        r.source = AssignmentSource::Environment;
        r.origin = ComPortVariable(comPort);
    } else if (known && configured[static_cast<std::size_t>(comPort)]) {
        const PortAssignment& a = *configured[static_cast<std::size_t>(comPort)];
        r.device = a.device;
        r.source = AssignmentSource::File;
        r.origin = a.origin;
        if (const std::optional<DevicePattern> pattern = ParseDevicePattern(a.device)) {
            r.pattern = a.device;
            const std::vector<DiscoveredPort> ports = scanner.Scan();
            if (const DiscoveredPort* match = FirstMatch(*pattern, ports)) r.device = match->PreferredPath();
        }
    } else {
        r.device = DefaultComDevice(comPort);
    }
    r.present = (r.pattern.empty() || r.device != r.pattern) && DevicePresent(r.device);
    return r;
}

ComPortResolution ResolveComPort(int comPort, const PortAssignments& assignments) {
    SystemPortScanner scanner;
    return ResolveComPort(comPort, LayerPortAssignments(assignments, DefaultPortsConfPath()), scanner);
}

ComPortResolution ResolveComPort(int comPort, std::vector<std::string>* warnings) {
    const std::string path = DefaultPortsConfPath();
    SystemPortScanner scanner;
    return ResolveComPort(
        comPort, LayerPortAssignments(ReadPortsConf(path, warnings).assignments(), path, warnings), scanner);
}

}  // namespace k52
