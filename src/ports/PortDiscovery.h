// The host's serial ports as a person would pick them: path, stable by-id name, description, transport
// and USB identity. Behind an interface so that the port window and k52cli can be tried on a fake list.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace k52 {

enum class PortTransport { Native, Usb, Bluetooth };

// "native", "usb", "bluetooth" (JSON) and "native", "USB", "Bluetooth" (for people).
std::string_view TransportKey(PortTransport transport);
std::string_view TransportLabel(PortTransport transport);

struct DiscoveredPort {
    std::string device;               // /dev/ttyUSB0
    std::optional<std::string> byId;  // /dev/serial/by-id/usb-..., for USB adapters that have one
    std::string description;          // "FT232R USB UART"
    PortTransport transport = PortTransport::Native;
    std::optional<int> vid, pid;  // USB vendor and product ids
    std::optional<std::string> serial;

    // The name worth storing: the by-id link survives plugging the adapter into another socket.
    const std::string& PreferredPath() const { return byId ? *byId : device; }
};

class PortScanner {
  public:
    virtual ~PortScanner() = default;
    // Every serial port the host has now, sorted by device path.
    virtual std::vector<DiscoveredPort> Scan() = 0;
};

// The host's ports through libserialport, with the links in `byIdFolder`.
class SystemPortScanner : public PortScanner {
  public:
    explicit SystemPortScanner(std::string byIdFolder = "/dev/serial/by-id")
        : byIdFolder_(std::move(byIdFolder)) {}
    std::vector<DiscoveredPort> Scan() override;

  private:
    std::string byIdFolder_;
};

// "0403" for 0x0403.
std::string UsbIdText(int id);

}  // namespace k52
