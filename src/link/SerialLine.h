// The serial line to the terminal: its settings record, the line interface, the POSIX termios backend
// and the mapping of the port names COM1..COM6 to host devices.
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
};

// The driver's serial flags (TIOCGSERIAL / TIOCSSERIAL) and the adapters' latency timers in sysfs, apart
// so that a test can play a driver that accepts low latency and one that refuses it.
class SerialDriverAccess {
  public:
    virtual ~SerialDriverAccess() = default;
    // The driver's flags; nullopt where it has none (a pseudo-terminal, ENOTTY or EINVAL).
    virtual std::optional<int> GetFlags(int fd) = 0;
    virtual bool SetFlags(int fd, int flags) = 0;
    // The adapter's latency timer in ms for a device name such as "ttyUSB0", when it has one.
    virtual std::optional<int> LatencyTimerMs(const std::string& deviceName) = 0;
};

// The kernel's own ioctls and /sys/bus/usb-serial/devices.
SerialDriverAccess& SystemSerialDriver();

// The driver flag that makes it pass received bytes on at once rather than hold them for milliseconds.
constexpr int kLowLatencyFlag = 1 << 13;

// A termios device: raw 8N1, no translation, no echo, no flow control, no signals, low latency where the
// driver offers it.
class PosixSerialLine : public SerialLine {
  public:
    // Opens `device` exclusively (TIOCEXCL and an advisory lock); nullptr on failure, with the errno of the
    // failing step in `errorNumber` (EBUSY when another program holds the device).
    static std::unique_ptr<PosixSerialLine> Open(const std::string& device, std::string* error = nullptr,
                                                 int* errorNumber = nullptr,
                                                 SerialDriverAccess& driver = SystemSerialDriver());
    ~PosixSerialLine() override;
    PosixSerialLine(const PosixSerialLine&) = delete;
    PosixSerialLine& operator=(const PosixSerialLine&) = delete;

    bool Apply(const LineSettings& settings) override;
    bool Write(const u8* data, std::size_t size) override;
    std::size_t Read(u8* buffer, std::size_t capacity) override;
    bool WaitForInput(std::int64_t timeoutMs) override;
    void DiscardInput() override;
    void Close() override;
    bool HungUp() const override { return broken_; }
    int fd() const { return fd_; }
    // Advice for the person when the adapter still holds replies (its latency timer above 1 ms, with the
    // command that lowers it); empty otherwise. For the caller to show once.
    const std::string& latencyHint() const { return latencyHint_; }

  private:
    PosixSerialLine(int fd, SerialDriverAccess& driver) : fd_(fd), driver_(driver) {}
    void AskForLowLatency(const std::string& device);

    int fd_ = -1;
    bool broken_ = false;
    SerialDriverAccess& driver_;
    std::optional<int> oldFlags_;  // the driver's flags before the open changed them
    std::string latencyHint_;
};

// COM1..COM6 through the port resolver, or every index to one fixed device (k52cli --device). A failed
// open's `error` is the reason a person can act on (permission, busy, not connected).
class PosixLineFactory : public LineFactory {
  public:
    PosixLineFactory() = default;
    explicit PosixLineFactory(std::string device) : device_(std::move(device)) {}
    std::unique_ptr<SerialLine> OpenPort(int comPort, std::string* error = nullptr) override;
    bool FixedDevice() const override { return device_.has_value(); }
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
