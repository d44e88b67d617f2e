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

// One or two sentences: the device, what is wrong and what to do (join the owning group, close the other
// program, plug in or assign the adapter). In English from marked patterns, as JSON carries it; the front
// ends show it in the user's language with LocalizeFinished.
std::string ExplainPortOpenFailure(const PortOpenFailure& failure);

}  // namespace k52
