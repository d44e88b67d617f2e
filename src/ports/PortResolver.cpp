// Which device COMn stands for: the environment, then the user's assignments, then /dev/ttyS<n-1>.
#include "ports/PortResolver.h"

#include <cstdlib>

#include "i18n/Translate.h"
#include "ports/PortDevices.h"

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

ComPortResolution ResolveComPort(int comPort, const PortAssignments& assignments) {
    ComPortResolution r;
    if (const char* v = std::getenv(ComPortVariable(comPort).c_str()); v != nullptr && *v != '\0') {
        r.device = v;
        r.source = AssignmentSource::Environment;
    } else if (comPort >= 0 && comPort < kComPortCount && assignments[static_cast<std::size_t>(comPort)]) {
        r.device = *assignments[static_cast<std::size_t>(comPort)];
        r.source = AssignmentSource::File;
    } else {
        r.device = DefaultComDevice(comPort);
    }
    r.present = DevicePresent(r.device);
    return r;
}

ComPortResolution ResolveComPort(int comPort, std::vector<std::string>* warnings) {
    return ResolveComPort(comPort, ReadPortsConf(DefaultPortsConfPath(), warnings).assignments());
}

}  // namespace k52
