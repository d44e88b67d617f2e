// The system's line factory on every platform: a port name resolved once, the device opened by the
// platform's backend, and a failure explained in words a person can act on.
#include "line/SerialLine.h"
#include "ports/PortErrors.h"

namespace k52 {

std::string ComPortDevice(int comPort) {
    return ResolveComPort(comPort).device;
}

std::string SystemLineFactory::DeviceName(int comPort) const {
    return device_ ? *device_ : ComPortDevice(comPort);
}

std::unique_ptr<SerialLine> SystemLineFactory::OpenPort(int comPort, std::string* error) {
    PortOpenFailure failure;
    if (device_) {
        failure.device = *device_;
    } else {
        ComPortResolution port = ResolveComPort(comPort, &warnings_);
        failure.device = port.device;
        failure.comPort = comPort;
        failure.source = port.source;
    }
    std::string hint;
    auto line = OpenDeviceLine(failure.device, &failure.error, &hint);
    lastFailure_ = line ? std::string() : ExplainPortOpenFailure(failure);
    if (line && latencyHint_.empty()) latencyHint_ = hint;
    if (error) *error = lastFailure_;
    return line;
}

}  // namespace k52
