// The host's serial ports on Windows: every device of the Ports class that has a COM name, with the
// friendly name Device Manager shows.
#include "ports/PortDiscovery.h"

#include <windows.h>
// SetupAPI needs the Windows types above it.
#include <setupapi.h>

#include <algorithm>

#include "util/platform/Win32.h"

namespace k52 {
namespace {

// The Ports (COM and LPT) device class.
constexpr GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

std::string RegistryText(HKEY key, const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return {};
    return platform::Narrow(value);
}

}  // namespace

std::vector<DiscoveredPort> SystemPortScanner::Scan() {
    std::vector<DiscoveredPort> found;
    HDEVINFO set = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return found;
    SP_DEVINFO_DATA info{};
    info.cbSize = sizeof info;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &info); ++i) {
        HKEY key = SetupDiOpenDevRegKey(set, &info, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        DiscoveredPort d;
        d.device = RegistryText(key, L"PortName");
        RegCloseKey(key);
        if (!d.device.starts_with("COM")) continue;
        wchar_t name[256] = {};
        if (SetupDiGetDeviceRegistryPropertyW(set, &info, SPDRP_FRIENDLYNAME, nullptr,
                                              reinterpret_cast<BYTE*>(name), sizeof name - sizeof(wchar_t),
                                              nullptr))
            d.description = platform::Narrow(name);
        if (d.description.empty()) d.description = d.device;
        wchar_t id[512] = {};
        if (SetupDiGetDeviceInstanceIdW(set, &info, id, 511, nullptr) &&
            std::wstring_view(id).starts_with(L"USB"))
            d.transport = PortTransport::Usb;
        found.push_back(std::move(d));
    }
    SetupDiDestroyDeviceInfoList(set);
    std::sort(found.begin(), found.end(),
              [](const DiscoveredPort& a, const DiscoveredPort& b) { return a.device < b.device; });
    return found;
}

}  // namespace k52
