// The one answer to "which device is COMn": K52_COMn in the environment, then the user's assignment
// file, then /dev/ttyS<n-1>; with where the answer came from and whether that device is there.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ports/PortAssignments.h"

namespace k52 {

enum class AssignmentSource { Environment, File, Default };

// "environment", "file", "default".
std::string_view AssignmentSourceName(AssignmentSource source);

struct ComPortResolution {
    std::string device;
    AssignmentSource source = AssignmentSource::Default;
    bool present = false;
};

// The name of the environment variable that overrides COMn: "K52_COM1".."K52_COM6".
std::string ComPortVariable(int comPort);

// Resolves against `assignments` (the file's); the environment is read at the call.
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
