// The forwarder's state read back from the ledger's delivery columns.
#include "station/ForwarderState.h"

#include "util/LocalTime.h"

namespace k52 {

ForwarderState DeliveryStateOf(const std::vector<UploadRow>& rows) {
    ForwarderState s;
    for (const UploadRow& r : rows) {
        if (r.outcome == UploadOutcomeKey(UploadOutcome::Receiving)) continue;
        if (r.deliveredUtc.empty()) {
            ++s.waiting;
            const std::string& since = r.endedUtc.empty() ? r.startedUtc : r.endedUtc;
            if (s.oldestWaitingUtc.empty() || since < s.oldestWaitingUtc) s.oldestWaitingUtc = since;
            if (!r.deliveryError.empty() && r.deliveryTriedUtc >= s.lastErrorUtc) {
                s.lastError = r.deliveryError;
                s.lastErrorUtc = r.deliveryTriedUtc;
            }
        } else if (r.deliveredUtc >= s.lastDeliveredUtc) {
            s.lastDeliveredUtc = r.deliveredUtc;
            s.lastDeliveredKey = r.key;
        }
    }
    return s;
}

void PublishForwarderState(StationStatus& status, const ForwarderState& state) {
    status.SetGauge("central_waiting", "Uploads waiting for the central store.",
                    static_cast<double>(state.waiting));
    const auto since = ParseInstant(state.oldestWaitingUtc);
    status.SetGauge("central_waiting_since_timestamp_seconds",
                    "When the oldest upload waiting for the central store ended; 0 when none waits.",
                    since && state.waiting ? static_cast<double>(*since) : 0.0);
    const auto errorAt = ParseInstant(state.lastErrorUtc);
    status.SetGauge("central_last_error_timestamp_seconds",
                    "When the central store last refused or could not be reached; 0 when it has not.",
                    errorAt && !state.lastError.empty() ? static_cast<double>(*errorAt) : 0.0);
    status.SetNote("centralLastError", state.lastError);
    status.SetNote("centralWaitingSince", since && state.waiting ? LocalIsoTime(*since) : "");
    status.Write();  // a failed write is said by the station's next event
}

}  // namespace k52
