// What the host calls its serial devices: the default device of COMn, whether a device is there, its
// stable name and the group that may open it. One implementation per platform.
#pragma once

#include <string>
#include <string_view>

namespace k52 {

// COMn's device when nothing assigns one: /dev/ttyS<n-1> on Linux, the system's own COMn on Windows.
std::string DefaultComDevice(int comPort);

// A name a device can be stored under: absolute (/dev/...) on Linux; COMn or \\.\COMn on Windows.
bool DeviceNameIsAbsolute(std::string_view device);

// The group a person must join to open `device`; empty where the system has no such rule or it is unknown.
std::string OwningGroup(const std::string& device);

// The group this system gives serial ports to ("dialout"), for a device that only root may open; empty
// where there is none.
std::string SerialPortGroup();

}  // namespace k52
