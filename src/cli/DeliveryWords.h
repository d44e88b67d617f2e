// The forwarder's state in k52cli's words, for collect's lines, forward and uploads.
#pragma once

#include <string>

#include "station/ForwarderState.h"

namespace k52::cli {

// "2 uploads wait for the central store since T (last error: E)", "every upload is in the central
// store (the last at T)", or "" when nothing was ever forwarded or tried.
std::string ForwarderStateLine(const ForwarderState& state);

}  // namespace k52::cli
