// The serial line to the terminal: its settings record, the line interface, the system's line factory
// and the mapping of the port names COM1..COM6 to host devices. The backends are per platform
// (PosixSerialLine.h: termios; WindowsSerialLine.h: Win32 communications).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ports/PortAssignments.h"
#include "protocol/LineSpeeds.h"
#include "template/Template.h"

namespace k52 {

constexpr int kBaudRateCount = static_cast<int>(kLineSpeeds.size());

// The device a port name maps to: $K52_COM<n> when set and not empty, else the user's assignment, else
// /dev/ttyS<n-1>.
std::string ComPortDevice(int comPort);

// The one line-state record of the process. Every open and every infrared preparation changes some of
// its fields and applies the whole record, so control lines left on by an infrared preparation stay on
// for later commands.
struct LineSettings {
    std::uint32_t speed = 0;  // bits per second; 0 until a command sets it
    u8 dataBits = 8;
    bool parity = false;  // never switched on
    u8 stopBits = 1;
    bool dtr = false;
    bool rts = false;
    bool ctsOutputFlow = false;
    bool xonXoffOutput = false;
};

class SerialLine {
  public:
    virtual ~SerialLine() = default;
    // Speed, 8N1, DTR and RTS. A device without modem lines is not an error.
    virtual bool Apply(const LineSettings& settings) = 0;
    // Returns when the bytes are handed to the device or the write time-out (5 ms per byte plus 50 ms)
    // has passed; false when not all of them went out.
    virtual bool Write(const u8* data, std::size_t size) = 0;
    // Returns at once with what has arrived, possibly nothing.
    virtual std::size_t Read(u8* buffer, std::size_t capacity) = 0;
    // Blocks (never spins) until a byte can be read or `timeoutMs` has passed; true when a byte can be read.
    virtual bool WaitForInput(std::int64_t timeoutMs) = 0;
    // Drops whatever has arrived and not been read.
    virtual void DiscardInput() = 0;
    virtual void Close() = 0;
    // The device went away (unplugged, hung up): nothing more will come, so nobody should wait for it.
    virtual bool HungUp() const { return false; }
};

// Opens lines by port index (0 = COM1).
class LineFactory {
  public:
    virtual ~LineFactory() = default;
    // Opens the port for reading and writing, exclusively, as an existing device; nullptr on failure,
    // with the reason in `error` when given.
    virtual std::unique_ptr<SerialLine> OpenPort(int comPort, std::string* error = nullptr) = 0;
    // True when every port index opens the same device, so the index does not matter.
    virtual bool FixedDevice() const { return false; }
    // The device a port index opens, as a person knows it.
    virtual std::string DeviceName(int comPort) const { return "COM" + std::to_string(comPort + 1); }
};

// The platform's backend: opens `device` exclusively as a raw 8N1 line; nullptr with the errno of the
// failing step. `latencyHint`: advice when the adapter holds replies back (see PosixSerialLine).
std::unique_ptr<SerialLine> OpenDeviceLine(const std::string& device, int* errorNumber,
                                           std::string* latencyHint);

// COM1..COM6 through the port resolver, or every index to one fixed device (k52cli --device). A failed
// open's `error` is the reason a person can act on (permission, busy, not connected).
class SystemLineFactory : public LineFactory {
  public:
    SystemLineFactory() = default;
    explicit SystemLineFactory(std::string device) : device_(std::move(device)) {}
    std::unique_ptr<SerialLine> OpenPort(int comPort, std::string* error = nullptr) override;
    bool FixedDevice() const override { return device_.has_value(); }
    std::string DeviceName(int comPort) const override;
    // The reason the last OpenPort failed; empty after one that succeeded.
    const std::string& lastFailure() const { return lastFailure_; }
    // What the port assignments said while resolving a port name (a damaged line of ports.conf), for
    // the caller to pass on; taking them clears them.
    std::vector<std::string> TakeWarnings() { return std::exchange(warnings_, {}); }
    // The first latency hint any line opened here gave (see PosixSerialLine::latencyHint), for the
    // caller to show once.
    const std::string& latencyHint() const { return latencyHint_; }

  private:
    std::optional<std::string> device_;
    std::string lastFailure_;
    std::vector<std::string> warnings_;
    std::string latencyHint_;
};

}  // namespace k52
