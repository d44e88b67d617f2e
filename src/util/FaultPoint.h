// A test seam over the file calls that keep received records: normally it does nothing; a test may have
// the Nth call fail with an errno of its choice, or end the process there as a kill -9 would, and it
// counts the calls of each kind either way.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>

namespace k52 {

enum class FaultCall { Open, Write, Sync, Rename, Link, Unlink, Close, Ledger, Count };

struct FaultPlan {
    int at = 0;     // the call (1-based, all kinds together) that fails or kills; 0: none
    int error = 0;  // its errno; 0 with `at` set: the process is killed before that call
    std::atomic<int> calls{0};
    std::array<std::atomic<int>, static_cast<std::size_t>(FaultCall::Count)> byKind{};
};

// Installs `plan` for every thread (nullptr removes it).
void SetFaultPlan(FaultPlan* plan);
// Called before each watched call: 0 to go on, or the errno the call is to fail with.
int FaultAt(FaultCall call);

}  // namespace k52
