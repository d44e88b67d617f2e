// Which device COMn stands for: the environment, then the user's assignments, then /dev/ttyS<n-1>.
#include "ports/PortResolver.h"

#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <memory>

namespace k52 {
namespace {

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

}  // namespace

std::string_view AssignmentSourceName(AssignmentSource source) {
    switch (source) {
        case AssignmentSource::Environment:
            return "environment";
        case AssignmentSource::File:
            return "file";
        case AssignmentSource::Default:
            break;
    }
    return "default";
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
        r.device = "/dev/ttyS" + std::to_string(comPort);
    }
    r.present = DevicePresent(r.device);
    return r;
}

ComPortResolution ResolveComPort(int comPort, std::vector<std::string>* warnings) {
    return ResolveComPort(comPort, ReadPortsConf(DefaultPortsConfPath(), warnings).assignments());
}

bool DevicePresent(const std::string& device) {
    struct stat st {};
    return !device.empty() && stat(device.c_str(), &st) == 0;
}

std::string StableDevicePath(const std::string& device, const std::string& byIdFolder) {
    if (device.starts_with(byIdFolder + "/")) return device;
    const std::string real = RealPath(device);
    if (real.empty()) return device;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(byIdFolder.c_str()), &closedir);
    if (!dir) return device;
    std::string best;
    while (const dirent* e = readdir(dir.get())) {
        if (e->d_name[0] == '.') continue;
        std::string link = byIdFolder + "/" + e->d_name;
        // Readdir's order is the file system's; the smallest name keeps the choice the same every time.
        if (RealPath(link) == real && (best.empty() || link < best)) best = std::move(link);
    }
    return best.empty() ? device : best;
}

}  // namespace k52
