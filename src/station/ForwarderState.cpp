// The forwarder's state read back from the ledger's delivery columns.
#include "station/ForwarderState.h"

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

}  // namespace k52
