// Why a serial port would not open, said so that a person at the desk knows what to do about it.
#pragma once

#include <optional>
#include <string>

#include "ports/PortResolver.h"

namespace k52 {

struct PortOpenFailure {
    int error = 0;  // errno of the failed open; EBUSY when another program holds the device
    std::string device;
    std::optional<int> comPort;  // nullopt: the device was named directly, not through COMn
    AssignmentSource source = AssignmentSource::Default;
};

// One or two sentences, in English like the rest of the command line's reasons: the device, what is wrong
// and what to do (join the owning group, close the other program, plug in or assign the adapter).
std::string ExplainPortOpenFailure(const PortOpenFailure& failure);

}  // namespace k52
