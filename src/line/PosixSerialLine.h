// The termios serial line: raw 8N1, exclusive open, the five speeds, modem lines, low latency where the
// driver offers it, and waits in poll() that never spin.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "line/SerialLine.h"

namespace k52 {

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
    // command that lowers it); empty otherwise. For the caller to show once, with LocalizeFinished.
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

}  // namespace k52
