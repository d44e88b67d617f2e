// The Win32 serial line: \\.\COMn opened exclusively, a DCB for the line settings, COMMTIMEOUTS for the
// timed reads, PurgeComm for discarding input. The settings it chooses are plain values, so that they
// can be checked on any system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "line/SerialLine.h"

namespace k52 {

// The fields of the DCB and COMMTIMEOUTS that a line's settings decide, in Win32's own values.
struct Win32LineSetup {
    std::uint32_t baudRate = 0;
    std::uint8_t byteSize = 8;
    std::uint8_t parity = 0;    // NOPARITY
    std::uint8_t stopBits = 0;  // ONESTOPBIT
    bool outxCtsFlow = false;
    bool outX = false;  // XON/XOFF on what we send
    bool inX = false;
    std::uint8_t dtrControl = 0;  // DTR_CONTROL_DISABLE (0) or DTR_CONTROL_ENABLE (1)
    std::uint8_t rtsControl = 0;  // RTS_CONTROL_DISABLE (0) or RTS_CONTROL_ENABLE (1)
    // Writes: the same bound as on Linux, 5 ms per byte plus 50 ms.
    std::uint32_t writeTotalTimeoutMultiplier = 0;
    std::uint32_t writeTotalTimeoutConstant = 0;
};

// nullopt for what the line cannot do (a speed outside the five, anything but 8N1).
std::optional<Win32LineSetup> ChooseWin32LineSetup(const LineSettings& settings);

// The COMMTIMEOUTS read fields for a wait of `timeoutMs`: a read returns as soon as one byte is there,
// or after the wait with nothing; a wait of 0 returns at once with what has arrived.
struct Win32ReadTimeouts {
    std::uint32_t interval = 0, multiplier = 0, constant = 0;
};
Win32ReadTimeouts ChooseWin32ReadTimeouts(std::int64_t timeoutMs);

// "\\.\COM10" for "COM10": the device namespace reaches every port, not only COM1..COM9.
std::string Win32DevicePath(const std::string& device);

#ifdef _WIN32
class WindowsSerialLine : public SerialLine {
  public:
    // nullptr on failure, with errno's value for the failing step in `errorNumber` (EBUSY when another
    // program holds the port, ENOENT when there is none, ENOTTY when it is no serial port).
    static std::unique_ptr<WindowsSerialLine> Open(const std::string& device, std::string* error = nullptr,
                                                   int* errorNumber = nullptr);
    ~WindowsSerialLine() override;
    WindowsSerialLine(const WindowsSerialLine&) = delete;
    WindowsSerialLine& operator=(const WindowsSerialLine&) = delete;

    bool Apply(const LineSettings& settings) override;
    bool Write(const u8* data, std::size_t size) override;
    std::size_t Read(u8* buffer, std::size_t capacity) override;
    bool WaitForInput(std::int64_t timeoutMs) override;
    void DiscardInput() override;
    void Close() override;
    bool HungUp() const override { return broken_; }
    const std::string& latencyHint() const { return latencyHint_; }

  private:
    explicit WindowsSerialLine(void* handle) : handle_(handle) {}
    bool SetReadTimeouts(std::int64_t timeoutMs);
    std::size_t ReadSome(u8* buffer, std::size_t capacity, std::int64_t timeoutMs);

    void* handle_;  // HANDLE
    bool broken_ = false;
    std::optional<std::int64_t> readTimeout_;  // the wait the port's read time-outs are set for
    std::uint32_t writeMultiplier_ = 0, writeConstant_ = 0;
    std::vector<u8> pending_;  // bytes a wait has read ahead
    std::string latencyHint_;  // stays empty: Windows drivers keep their own latency setting
};
#endif

}  // namespace k52
