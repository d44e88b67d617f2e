// The one answer to "which device is COMn": K52_COMn in the environment, then the user's assignment
// file, then the system-wide ones, then /dev/ttyS<n-1>; with where the answer came from and whether that
// device is there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/PortAssignments.h"
#include "ports/PortDiscovery.h"

namespace k52 {

enum class AssignmentSource { Environment, File, Default };

// "environment", "file", "default".
std::string_view AssignmentSourceName(AssignmentSource source);

struct ComPortResolution {
    std::string device;  // a pattern that matches nothing is left as written: it opens as not connected
    AssignmentSource source = AssignmentSource::Default;
    bool present = false;
    std::string origin;   // the variable (Environment) or the file (File) the answer came from
    std::string pattern;  // the assignment as written, when it names the adapter by a pattern
};

// The name of the environment variable that overrides COMn: "K52_COM1".."K52_COM6".
std::string ComPortVariable(int comPort);

// Resolves against `configured`, a pattern against the ports `scanner` finds (scanned only for one); the
// environment is read at the call.
ComPortResolution ResolveComPort(int comPort, const ConfiguredPorts& configured, PortScanner& scanner);
// Resolves against the user's `assignments` over the system-wide files, on the host's ports.
ComPortResolution ResolveComPort(int comPort, const PortAssignments& assignments);
// Reads the user's file at each call, so an assignment made meanwhile by the other program counts.
// The file's warnings are added to `warnings` when given.
ComPortResolution ResolveComPort(int comPort, std::vector<std::string>* warnings = nullptr);

// Whether `device` exists (a by-id link counts when its adapter is plugged in).
bool DevicePresent(const std::string& device);

// The stable /dev/serial/by-id name of `device` when `byIdFolder` holds a link to it, else `device`
// unchanged. It survives plugging the adapter into another socket, so it is the name worth storing.
std::string StableDevicePath(const std::string& device, const std::string& byIdFolder = "/dev/serial/by-id");

}  // namespace k52
