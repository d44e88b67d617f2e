// What the journalled commit costs: syncs and ledger writes per upload, and the time from the terminal's
// last acknowledged record to its row in the ledger, for uploads of 10 and 1000 records into a real
// folder (the line is in memory, so only the disk is measured).
#include <chrono>
#include <cstdio>

#include "station/StationHarness.h"
#include "util/FaultPoint.h"

using namespace k52;
using namespace k52::test;

int main() {
    setenv("TZ", "UTC0", 1);
    tzset();
    for (const int records : {10, 1000}) {
        Station s({{0, Options({}, Records("R", records))}});
        FaultPlan counter;
        SetFaultPlan(&counter);
        std::chrono::steady_clock::time_point lastAck{};
        s.clock.hook = [&](std::int64_t) {
            if (lastAck == std::chrono::steady_clock::time_point{} && s.cradle.Acknowledged() == records)
                lastAck = std::chrono::steady_clock::now();
        };
        std::chrono::steady_clock::time_point rowIn{};
        const std::vector<UploadRow> rows = s.Run(1);
        rowIn = std::chrono::steady_clock::now();  // the Finished event follows the row's commit at once
        SetFaultPlan(nullptr);
        auto kind = [&](FaultCall c) { return counter.byKind[static_cast<std::size_t>(c)].load(); };
        std::printf(
            "%4d records: %d syncs (%d of records, %d of the folder), %d ledger writes, "
            "last record to row %.2f ms\n",
            records, kind(FaultCall::Sync), records, kind(FaultCall::Sync) - records, kind(FaultCall::Ledger),
            std::chrono::duration<double, std::milli>(rowIn - lastAck).count());
        if (rows.size() != 1 || rows[0].records != records) return 1;
    }
    return 0;
}
