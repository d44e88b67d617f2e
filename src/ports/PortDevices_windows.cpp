// Serial devices on Windows: COMn are the system's own names, present when QueryDosDevice knows them.
#include "ports/PortDevices.h"

#include <windows.h>

#include "ports/PortResolver.h"
#include "util/platform/Win32.h"

namespace k52 {

std::string DefaultComDevice(int comPort) {
    return "COM" + std::to_string(comPort + 1);
}

bool DeviceNameIsAbsolute(std::string_view device) {
    return device.starts_with("COM") || device.starts_with("\\\\.\\") || device.starts_with("//./");
}

std::string OwningGroup(const std::string&) {
    return {};
}

std::string SerialPortGroup() {
    return {};
}

bool DevicePresent(const std::string& device) {
    if (device.empty()) return false;
    std::string name = device;
    if (name.starts_with("\\\\.\\")) name = name.substr(4);
    wchar_t target[1024];
    if (QueryDosDeviceW(platform::Widen(name).c_str(), target, 1024) != 0) return true;
    return GetFileAttributesW(platform::Widen(device).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Windows keeps a port's name across sockets itself; there is no by-id folder.
std::string StableDevicePath(const std::string& device, const std::string&) {
    return device;
}

}  // namespace k52
