// collect's lines: each station event, hook run and forward as one line in the run's language (or a
// JSON object, or a journal entry with fields when standard output is the journal).
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "station/CollectStation.h"
#include "station/Hooks.h"
#ifdef K52_WITH_CENTRAL
#include "station/Forwarder.h"
#endif

namespace k52::cli {

using NameOf = std::function<std::string(const std::string& device)>;

class EventPrinter : public CollectObserver {
  public:
    EventPrinter(bool json, NameOf nameOf);
    void OnEvent(const CollectEvent& e) override;
    // A hook's run for an upload or event, and how it ended.
    void OnDelivery(const DeliveryRow& d);
#ifdef K52_WITH_CENTRAL
    // A delivery, or a failure said once until it changes or a delivery ends it.
    void OnForward(const ForwardEvent& e, const ForwarderState& state);
#endif

  private:
    bool json_;
    bool journal_;  // standard output goes to the journal: each event is sent as an entry with fields
    NameOf nameOf_;
    std::mutex mutex_;
    std::string lastFailure_;
};

// The hooks of a run: those given, then FOLDER/hooks.d's and the system's drop-ins.
std::vector<Hook> AllHooks(const std::string& folder, const std::vector<Hook>& given);

// Each hook once with a made-up upload (or event), so that a site can try its script.
int TestHooks(const std::vector<Hook>& hooks, const HookOptions& options, bool json,
              const HookStation& station);

}  // namespace k52::cli
