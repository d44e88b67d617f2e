// Why a port would not open, in words a deployer can act on: permission, busy, not connected.
#include "ports/PortErrors.h"

#include <cerrno>
#include <cstring>
#include <vector>

#include "ports/PortDevices.h"

namespace k52 {
namespace {

// "COM3 is assigned to DEVICE" and its kin: how the device came to be the one tried.
std::string Subject(const PortOpenFailure& f) {
    if (!f.comPort) return f.device;
    const std::string com = ComPortName(*f.comPort);
    switch (f.source) {
        case AssignmentSource::Environment:
            return com + " is set to " + f.device + " by " + ComPortVariable(*f.comPort) +
                   " in the environment";
        case AssignmentSource::File:
            return com + " is assigned to " + f.device;
        case AssignmentSource::Default:
            break;
    }
    return com + " is " + f.device + " (no device assigned)";
}

}  // namespace

std::string ExplainPortOpenFailure(const PortOpenFailure& f) {
    switch (f.error) {
        case EACCES:
        case EPERM: {
            const std::string group = OwningGroup(f.device);
            std::string text = "permission denied on " + f.device;
            if (f.comPort) text = ComPortName(*f.comPort) + ": " + text;
            if (group.empty()) return text + "; ask the administrator for access to it";
            return text + ", which belongs to the group '" + group + "': join that group (sudo usermod -aG " +
                   group + " $USER) and log in again";
        }
        case EBUSY:
        case EWOULDBLOCK:
            return (f.comPort ? ComPortName(*f.comPort) + ": " : std::string()) + f.device +
                   " is in use by another program; close it and try again";
        case ENOENT:
        case ENODEV:
        case ENXIO: {
            if (!f.comPort) return f.device + " is not connected";
            std::string text = Subject(f) + ", which is not connected";
            if (f.comPort && f.source == AssignmentSource::Default)
                text += "; choose the terminal's adapter in the port settings or with 'k52cli ports assign " +
                        ComPortName(*f.comPort) + " DEVICE'";
            return text;
        }
        case ENOTTY:
            return f.comPort ? Subject(f) + ", which is not a serial port"
                             : f.device + " is not a serial port";
        default:
            return Subject(f) + ": " + std::strerror(f.error);
    }
}

}  // namespace k52
