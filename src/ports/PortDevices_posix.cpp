// Serial devices on Linux: /dev/ttyS*, the /dev/serial/by-id links, the device's group.
#include "ports/PortDevices.h"

#include <dirent.h>
#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "ports/PortResolver.h"

namespace k52 {
namespace {

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

}  // namespace

std::string DefaultComDevice(int comPort) {
    return "/dev/ttyS" + std::to_string(comPort);
}

bool DeviceNameIsAbsolute(std::string_view device) {
    return !device.empty() && device[0] == '/';
}

std::string OwningGroup(const std::string& device) {
    struct stat st {};
    if (stat(device.c_str(), &st) != 0) return {};
    std::vector<char> buf(4096);
    group g{};
    group* found = nullptr;
    while (getgrgid_r(st.st_gid, &g, buf.data(), buf.size(), &found) == ERANGE && buf.size() < (1u << 20))
        buf.resize(buf.size() * 2);
    return found ? std::string(found->gr_name) : std::to_string(st.st_gid);
}

std::string SerialPortGroup() {
    std::vector<char> buf(4096);
    group g{};
    group* found = nullptr;
    while (getgrnam_r("dialout", &g, buf.data(), buf.size(), &found) == ERANGE && buf.size() < (1u << 20))
        buf.resize(buf.size() * 2);
    return found ? std::string(found->gr_name) : std::string();
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
