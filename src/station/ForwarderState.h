// How far a station's uploads have reached the central store: what a status line, the metrics and
// `uploads` show about the forwarder.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "station/Ledger.h"
#include "station/StationStatus.h"

namespace k52 {

struct ForwarderState {
    std::size_t waiting = 0;       // ended uploads not yet in the central store
    std::string oldestWaitingUtc;  // when the oldest of them ended; empty when none waits
    std::string lastError;         // the last attempt's error; empty after a delivery without one
    std::string lastErrorUtc;
    std::string lastDeliveredUtc;  // when the latest delivery was committed; empty before the first
    std::string lastDeliveredKey;
};

// The state as the ledger's rows keep it.
ForwarderState DeliveryStateOf(const std::vector<UploadRow>& rows);

// The uploads waiting, since when and the last error, into the status file and metrics, written now.
void PublishForwarderState(StationStatus& status, const ForwarderState& state);

}  // namespace k52
