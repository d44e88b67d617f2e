// The seam's one global: a plan is installed by tests and benchmarks only.
#include "util/FaultPoint.h"

#include <csignal>

#include "util/platform/System.h"

namespace k52 {
namespace {
std::atomic<FaultPlan*> gPlan{nullptr};
}  // namespace

void SetFaultPlan(FaultPlan* plan) {
    gPlan.store(plan);
}

int FaultAt(FaultCall call) {
    FaultPlan* plan = gPlan.load();
    if (!plan) return 0;
    ++plan->byKind[static_cast<std::size_t>(call)];
    const int n = ++plan->calls;
    if (n != plan->at) return 0;
    if (plan->error == 0) platform::KillSelf();
    return plan->error;
}

}  // namespace k52
