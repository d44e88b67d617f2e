// Why a port would not open, in words a deployer can act on: permission, busy, not connected.
#include "ports/PortErrors.h"

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

#include "i18n/Translate.h"
#include "ports/PortDevices.h"

namespace k52 {
namespace {

// What is wrong with a device reached through COMn, said with how it came to be the one tried ("COM3 is
// assigned to DEVICE, ..."). Each sentence is one marked pattern, never pieced together, so that a front
// end finds its translation from the finished text. `reason`, the system's words for an error that has no
// sentence of its own, fills the last place.
struct ComPortTexts {
    std::string_view environment;  // %1 COMn, %2 the device, %3 its variable, %4 the reason
    std::string_view file;         // %1 COMn, %2 the device, %3 the reason
    std::string_view fallback;     // likewise, for the default device
};

std::string ThroughComPort(const PortOpenFailure& f, const ComPortTexts& texts,
                           const std::string& reason = {}) {
    const std::string com = ComPortName(*f.comPort);
    switch (f.source) {
        case AssignmentSource::Environment:
            return Substitute(texts.environment, {com, f.device, ComPortVariable(*f.comPort), reason});
        case AssignmentSource::File:
            return Substitute(texts.file, {com, f.device, reason});
        case AssignmentSource::Default:
            break;
    }
    return Substitute(texts.fallback, {com, f.device, reason});
}

constexpr ComPortTexts kNotConnected{
    K52_EN("%1 is set to %2 by %3 in the environment, which is not connected"),
    K52_EN("%1 is assigned to %2, which is not connected"),
    K52_EN("%1 is %2 (no device assigned), which is not connected; choose the terminal's adapter in the port "
           "settings or with 'k52cli ports assign %1 DEVICE'"),
};
constexpr ComPortTexts kNotSerial{
    K52_EN("%1 is set to %2 by %3 in the environment, which is not a serial port"),
    K52_EN("%1 is assigned to %2, which is not a serial port"),
    K52_EN("%1 is %2 (no device assigned), which is not a serial port"),
};
constexpr ComPortTexts kOtherError{
    K52_EN("%1 is set to %2 by %3 in the environment: %4"),
    K52_EN("%1 is assigned to %2: %3"),
    K52_EN("%1 is %2 (no device assigned): %3"),
};

// Permission denied on a device only root may open: the group serial ports go to, given by a udev rule.
std::string RootOwned(const PortOpenFailure& f) {
    const std::string group = SerialPortGroup();
    if (!f.comPort)
        return group.empty()
                   ? Substitute(
                         K52_EN("permission denied on %1, which belongs to root: ask the administrator "
                                "for a udev rule that lets you open it"),
                         {f.device})
                   : Substitute(
                         K52_EN("permission denied on %1, which belongs to root: ask the administrator "
                                "for a udev rule that gives it to the group '%2', then join that group "
                                "(sudo usermod -aG %2 $USER) and log in again"),
                         {f.device, group});
    const std::string com = ComPortName(*f.comPort);
    return group.empty()
               ? Substitute(
                     K52_EN("%1: permission denied on %2, which belongs to root: ask the administrator "
                            "for a udev rule that lets you open it"),
                     {com, f.device})
               : Substitute(
                     K52_EN("%1: permission denied on %2, which belongs to root: ask the administrator "
                            "for a udev rule that gives it to the group '%3', then join that group "
                            "(sudo usermod -aG %3 $USER) and log in again"),
                     {com, f.device, group});
}

}  // namespace

std::string ExplainPortOpenFailure(const PortOpenFailure& f) {
    switch (f.error) {
        case EACCES:
        case EPERM: {
            const std::string group = OwningGroup(f.device);
            // Joining root's group would hand out far more than the port: never advise it.
            if (group == "root" || group == "0") return RootOwned(f);
            if (!f.comPort)
                return group.empty()
                           ? Substitute(
                                 K52_EN("permission denied on %1; ask the administrator for access to it"),
                                 {f.device})
                           : Substitute(
                                 K52_EN("permission denied on %1, which belongs to the group '%2': join "
                                        "that group (sudo usermod -aG %2 $USER) and log in again"),
                                 {f.device, group});
            const std::string com = ComPortName(*f.comPort);
            return group.empty()
                       ? Substitute(
                             K52_EN("%1: permission denied on %2; ask the administrator for access to it"),
                             {com, f.device})
                       : Substitute(
                             K52_EN("%1: permission denied on %2, which belongs to the group '%3': join "
                                    "that group (sudo usermod -aG %3 $USER) and log in again"),
                             {com, f.device, group});
        }
        case EBUSY:
        case EWOULDBLOCK:
            return Substitute(K52_EN("%1 is in use by another program; close it and try again"),
                              {(f.comPort ? ComPortName(*f.comPort) + ": " : std::string()) + f.device});
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return f.comPort ? ThroughComPort(f, kNotConnected)
                             : Substitute(K52_EN("%1 is not connected"), {f.device});
        case ENOTTY:
            return f.comPort ? ThroughComPort(f, kNotSerial)
                             : Substitute(K52_EN("%1 is not a serial port"), {f.device});
        default:
            return f.comPort ? ThroughComPort(f, kOtherError, std::strerror(f.error))
                             : f.device + ": " + std::strerror(f.error);
    }
}

}  // namespace k52
