// The DCB and COMMTIMEOUTS values a line's settings call for, as plain numbers (no Win32 header), so
// the Linux build checks them too.
#include "line/WindowsSerialLine.h"

namespace k52 {

std::optional<Win32LineSetup> ChooseWin32LineSetup(const LineSettings& s) {
    if (!BaudRateOfSpeed(s.speed) || s.dataBits != 8 || s.parity || s.stopBits != 1) return std::nullopt;
    Win32LineSetup setup;
    setup.baudRate = s.speed;
    setup.outxCtsFlow = s.ctsOutputFlow;
    setup.outX = s.xonXoffOutput;
    setup.dtrControl = s.dtr ? 1 : 0;
    setup.rtsControl = s.rts ? 1 : 0;
    setup.writeTotalTimeoutMultiplier = 5;
    setup.writeTotalTimeoutConstant = 50;
    return setup;
}

Win32ReadTimeouts ChooseWin32ReadTimeouts(std::int64_t timeoutMs) {
    constexpr std::uint32_t kMax = 0xFFFFFFFFu;
    if (timeoutMs <= 0) return {kMax, 0, 0};
    // MAXDWORD, MAXDWORD, t: wait up to t for the first byte, then return with what is there.
    const std::uint32_t constant = timeoutMs >= kMax - 1 ? kMax - 1 : static_cast<std::uint32_t>(timeoutMs);
    return {kMax, kMax, constant};
}

std::string Win32DevicePath(const std::string& device) {
    if (device.starts_with("\\\\.\\") || device.starts_with("//./")) return device;
    return "\\\\.\\" + device;
}

}  // namespace k52
