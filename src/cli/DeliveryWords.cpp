// The forwarder's state worded once for every command that shows it.
#include "cli/DeliveryWords.h"

#include "i18n/Translate.h"

namespace k52::cli {

std::string ForwarderStateLine(const ForwarderState& s) {
    if (s.waiting == 0)
        return s.lastDeliveredUtc.empty()
                   ? std::string()
                   : Localize("every upload is in the central store (the last delivered at %1)",
                              {s.lastDeliveredUtc});
    std::string line = Localize("%1 uploads wait for the central store since %2",
                                {std::to_string(s.waiting), s.oldestWaitingUtc});
    if (!s.lastError.empty())
        line += " " + Localize("(last error at %1: %2)", {s.lastErrorUtc, LocalizeFinished(s.lastError)});
    return line;
}

}  // namespace k52::cli
