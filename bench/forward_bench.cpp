// The forwarder's speed into a throwaway local PostgreSQL: records a second for one 100k-record upload,
// and the time a station takes to catch up on a day's backlog of a 6-terminal site.
//   forward_bench [UPLOADS_PER_TERMINAL [RECORDS_PER_UPLOAD]]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "line/Clock.h"
#include "station/Forwarder.h"
#include "station/Ledger.h"
#include "support/PgServer.h"
#include "support/TempDir.h"
#include "util/LocalTime.h"
#include "util/Sha256.h"

namespace {

using namespace k52;
using Seconds = std::chrono::duration<double>;

constexpr std::time_t kDay = 1714521600;

// `uploads` uploads of `records` records each for `terminal`, filed in the folder's ledger.
void File(Ledger& ledger, test::TempDir& dir, const std::string& terminal, int uploads, int records,
          std::time_t& at) {
    for (int u = 0; u < uploads; ++u, at += 60) {
        std::string bytes;
        for (int i = 0; i < records; ++i) bytes += "47100" + std::to_string(1000000 + i) + ",1\r\n";
        UploadRow row;
        row.key = Ledger::NewKey(at);
        row.terminal = terminal;
        row.device = "/dev/ttyUSB0";
        row.started = row.ended = LocalIsoTime(at);
        row.startedUtc = row.endedUtc = UtcIsoTime(at);
        row.records = row.acknowledged = records;
        row.outcome = "complete";
        row.file = terminal + "-" + std::to_string(u) + ".TXT";
        dir.Write(row.file, bytes);
        row.sha256 = Sha256Hex(bytes);
        std::string reason;
        if (!ledger.Put(row, &reason)) {
            std::fprintf(stderr, "forward_bench: %s\n", reason.c_str());
            std::exit(1);
        }
    }
}

// Delivers everything waiting in `folder`; the seconds it took.
double Forward(const std::string& folder, const std::string& url, int expected) {
    MonotonicClock clock;
    StopFlag stop{false};
    Forwarder forwarder(folder, url, clock, stop, [] { return std::time(nullptr); });
    const auto start = std::chrono::steady_clock::now();
    const Forwarder::Pass pass = forwarder.RunOnce();
    const double s = Seconds(std::chrono::steady_clock::now() - start).count();
    if (pass.delivered != expected) {
        std::fprintf(stderr, "forward_bench: %d of %d delivered: %s\n", pass.delivered, expected,
                     pass.error.c_str());
        std::exit(1);
    }
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    const int perTerminal = argc > 1 ? std::atoi(argv[1]) : 24;
    const int perUpload = argc > 2 ? std::atoi(argv[2]) : 2000;
    std::string reason;
    std::unique_ptr<test::PgServer> server = test::PgServer::Start(&reason);
    if (!server) {
        std::fprintf(stderr, "forward_bench: cannot start PostgreSQL: %s\n", reason.c_str());
        return 1;
    }
    for (const char* db : {"big", "day"})
        if (!server->CreateDatabase(db, &reason) || !CentralStore::Init(server->Conninfo(db), &reason)) {
            std::fprintf(stderr, "forward_bench: %s\n", reason.c_str());
            return 1;
        }

    {
        test::TempDir dir;
        std::optional<Ledger> ledger = Ledger::Open(dir.path().string(), &reason);
        std::time_t at = kDay;
        File(*ledger, dir, "T1", 1, 100000, at);
        const double s = Forward(dir.path().string(), server->Conninfo("big"), 1);
        std::printf("one upload of 100000 records: %.2f s, %.0f records/s\n", s, 100000 / s);
    }
    {
        test::TempDir dir;
        std::optional<Ledger> ledger = Ledger::Open(dir.path().string(), &reason);
        std::time_t at = kDay;
        for (int t = 1; t <= 6; ++t) File(*ledger, dir, "T" + std::to_string(t), perTerminal, perUpload, at);
        const int uploads = 6 * perTerminal;
        const double s = Forward(dir.path().string(), server->Conninfo("day"), uploads);
        const double records = static_cast<double>(uploads) * perUpload;
        std::printf(
            "a day's backlog of 6 terminals (%d uploads of %d records, %.0f records): %.2f s, "
            "%.0f records/s, %.1f uploads/s\n",
            uploads, perUpload, records, s, records / s, uploads / s);
    }
    return 0;
}
