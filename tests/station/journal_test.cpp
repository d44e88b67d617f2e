// The ledger tells the truth: a row from the terminal's answer, recovery from the rows and the files'
// identities, a busy or replaced ledger, ports held by others, and the system's reasons.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "station/Recovery.h"
#include "station/StationHarness.h"
#include "transfer/RecordFile.h"
#include "util/FaultPoint.h"
#include "util/LocalTime.h"
#include "util/RegularFile.h"

namespace k52::test {
namespace {

namespace fs = std::filesystem;

std::vector<UploadRow> RowsIn(const std::string& folder) {
    std::string reason;
    std::optional<Ledger> ledger = Ledger::OpenExisting(folder, &reason);
    if (!ledger) return {};
    return ledger->List("", "", &reason).value_or(std::vector<UploadRow>{});
}

std::size_t EntriesIn(const fs::path& folder) {
    std::error_code ec;
    return fs::exists(folder, ec)
               ? static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}))
               : 0;
}

TEST(Journal, TheRowIsReceivingBeforeTheFirstAcknowledgementAndIdlePollsLeaveNoFile) {
    Station s({{4, Options({}, Records("A", 3))}});
    std::size_t filesWhileIdle = 0;
    std::vector<UploadRow> atFirstAck;
    s.clock.hook = [&](std::int64_t) {
        if (s.events.Count(CollectEventKind::Started) == 0)
            filesWhileIdle = std::max(filesWhileIdle, EntriesIn(s.dir.path() / "ttyUSB3"));
        if (s.cradle.Acknowledged() == 1 && atFirstAck.empty()) atFirstAck = RowsIn(s.dir.path().string());
    };
    const std::vector<UploadRow> rows = s.Run(1);
    EXPECT_EQ(filesWhileIdle, 0u);
    ASSERT_EQ(atFirstAck.size(), 1u);
    EXPECT_EQ(atFirstAck[0].outcome, "receiving");
    EXPECT_NE(atFirstAck[0].partial.find(".partial"), std::string::npos);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].key, atFirstAck[0].key);  // the same row, completed
    EXPECT_EQ(rows[0].key.size(), 36u);
    EXPECT_EQ(rows[0].key[14], '7');  // a UUIDv7
    EXPECT_EQ(rows[0].outcome, "complete");
    EXPECT_EQ(rows[0].acknowledged, 3);
    EXPECT_EQ(rows[0].startedUtc, UtcIsoTime(kMay1 + 17));  // four silent requests, then the answer
}

// What a kill or a failed commit leaves, one case per row, each recovered twice: the second finds
// nothing to do, and no stored file is without its row.
TEST(Recovery, FollowsTheRowsAndKnowsFilesByIdentity) {
    struct Case {
        const char* what;
        std::function<void(Station&, Ledger&)> leave;
        int rows;
        const char* outcome;
        int records, acknowledged;
        const char* file;
    };
    const std::string pid = std::to_string(getpid());  // a pid that is alive: it must not matter
    const std::string partial = "ttyUSB3/2024-05-01_000000.TXT." + pid + ".partial";
    auto row = [&](Station& s, const char* outcome, const std::string& file) {
        UploadRow r;
        r.key = Ledger::NewKey(kMay1);
        r.terminal = "ttyUSB3";
        r.device = "/dev/ttyUSB3";
        r.started = LocalIsoTime(kMay1);
        r.startedUtc = UtcIsoTime(kMay1);
        r.partial = partial;
        r.file = file;
        r.outcome = outcome;
        if (const auto id = platform::IdentityOf(s.dir(partial))) r.fileId = FileIdText(*id);
        return r;
    };
    std::string reason;
    const Case cases[] = {
        {"killed mid-upload, its pid alive again",
         [&](Station& s, Ledger& l) {
             s.dir.Write(partial, Lines("R", 3));
             l.Put(row(s, "receiving", ""), &reason);
         },
         1, "interrupted", 3, 2, "ttyUSB3/2024-05-01_000000.TXT"},
        {"the commit's link failed",
         [&](Station& s, Ledger& l) {
             s.dir.Write(partial, Lines("R", 5));
             UploadRow r = row(s, "partial", partial);
             r.records = r.acknowledged = 5;
             l.Put(r, &reason);
         },
         1, "partial", 5, 5, "ttyUSB3/2024-05-01_000000.TXT"},
        {"killed between the link and the unlink",
         [&](Station& s, Ledger& l) {
             s.dir.Write(partial, Lines("R", 4));
             fs::create_hard_link(s.dir(partial), s.dir("ttyUSB3/2024-05-01_000000-2.TXT"));
             l.Put(row(s, "receiving", ""), &reason);
         },
         1, "interrupted", 4, 3, "ttyUSB3/2024-05-01_000000-2.TXT"},
        {"killed at the answer, before any record",
         [&](Station& s, Ledger& l) {
             s.dir.Write(partial, "");
             l.Put(row(s, "receiving", ""), &reason);
         },
         1, "interrupted", 0, 0, ""},
        {"a folder that is a link to another terminal's",
         [&](Station& s, Ledger&) {
             s.dir.Write("ttyUSB3/2024-05-01_000000.TXT", Lines("R", 3));
             fs::create_directory_symlink(s.dir("ttyUSB3"), s.dir("cradleB"));
         },
         1, "partial", 3, 3, nullptr},
        {"an empty partial file an idle poll of an older station left",
         [&](Station& s, Ledger&) { s.dir.Write(partial, ""); }, 0, nullptr, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        Station s({});
        fs::create_directories(s.dir.path() / "ttyUSB3");
        c.leave(s, *s.ledger);
        CollectStation station(s.dir.path().string(), 5000, s.stop, *s.ledger, s.events,
                               [] { return kMay1; });
        station.Recover();
        EXPECT_EQ(station.Recover(), 0) << c.what;
        const std::vector<UploadRow> rows = RowsIn(s.dir.path().string());
        ASSERT_EQ(static_cast<int>(rows.size()), c.rows) << c.what;
        EXPECT_TRUE(FilesWithoutRow(s.dir.path().string(), rows).empty()) << c.what;
        EXPECT_FALSE(fs::exists(s.dir(partial))) << c.what;
        if (c.rows == 0) continue;
        EXPECT_EQ(rows[0].outcome, c.outcome) << c.what;
        EXPECT_EQ(rows[0].records, c.records) << c.what;
        EXPECT_EQ(rows[0].acknowledged, c.acknowledged) << c.what;
        if (c.file) {
            EXPECT_EQ(rows[0].file, c.file) << c.what;
        }
        if (!rows[0].file.empty()) {
            EXPECT_EQ(rows[0].sha256, Sha256Hex(s.Read(rows[0].file))) << c.what;
        }
        // The restart's line says what the row says, and the record that may come again is named.
        ASSERT_FALSE(s.events.seen.empty()) << c.what;
        EXPECT_EQ(CollectEventKey(s.events.seen.back().kind),
                  std::string(rows[0].outcome == "interrupted" ? "interrupted" : "partial"))
            << c.what;
        if (std::string(c.outcome) == "interrupted" && c.records > 0) {
            EXPECT_NE(rows[0].message.find("record " + std::to_string(c.records) + " may come again"),
                      std::string::npos)
                << c.what;
        }
    }
}

TEST(Recovery, LeavesAPartialFileItsWriterStillHolds) {
    Station s({});
    fs::create_directories(s.dir.path() / "ttyUSB3");
    int error = 0;
    std::optional<RecordFile> live = RecordFile::Create(s.dir("ttyUSB3/2024-05-01_000000.TXT"), &error);
    ASSERT_TRUE(live);
    const u8 record[] = {'A', '1'};
    ASSERT_TRUE(live->Append(record, 2, &error));
    EXPECT_TRUE(RecordFile::Live(live->temporaryPath()));
    CollectStation station(s.dir.path().string(), 5000, s.stop, *s.ledger, s.events, [] { return kMay1; });
    EXPECT_EQ(station.Recover(), 0);
    EXPECT_TRUE(fs::exists(live->temporaryPath()));
    live.reset();
}

// Another program holds the ledger's write lock: the rows wait in memory, the upload is not reported
// until its row is in, and the station says that rows wait.
TEST(Journal, ABusyLedgerIsWaitedForNeverDropped) {
    Station s({{0, Options({}, Records("B", 2))}});
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(s.dir("ledger.sqlite").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    bool held = true;
    int finishedWhileHeld = 0;
    s.clock.hook = [&](std::int64_t now) {
        finishedWhileHeld += held ? s.events.Count(CollectEventKind::Finished) : 0;
        if (held && now > 12000) {
            sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
            held = false;
        }
    };
    const std::vector<UploadRow> rows = s.Run(1);
    sqlite3_close(other);
    EXPECT_EQ(finishedWhileHeld, 0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].outcome, "complete");
    EXPECT_EQ(rows[0].records, 2);
    bool saidWaiting = false;
    for (const CollectEvent& e : s.events.seen)
        saidWaiting |=
            e.kind == CollectEventKind::Problem && e.message.find("wait for the ledger") != std::string::npos;
    EXPECT_TRUE(saidWaiting);
}

// FOLDER made again under the station: the next upload's row goes into a ledger there. FOLDER gone:
// the station stops with a failure rather than acknowledge records it cannot enter.
TEST(Journal, AReplacedFolderGetsItsOwnLedgerAndAVanishedOneStopsTheStation) {
    Station s({{0, Options({}, Records("C", 1))}, {0, Options({}, Records("D", 2))}});
    s.Run(1, /*frozenWallClock=*/true);
    const fs::path folder = s.dir.path();
    fs::rename(folder, folder.string() + ".old");
    fs::create_directory(folder);
    s.stop.store(false);
    s.Run(2, /*frozenWallClock=*/true);
    const std::vector<UploadRow> now = RowsIn(folder.string());
    ASSERT_EQ(now.size(), 1u);
    EXPECT_EQ(now[0].records, 2);
    EXPECT_EQ(RowsIn(folder.string() + ".old").size(), 1u);

    fs::rename(folder, folder.string() + ".gone");
    s.stop.store(false);
    CollectStation station(folder.string(), 5000, s.stop, *s.ledger, s.events, [] { return kMay1; });
    station.Serve(s.port, s.clock);  // returns on its own
    EXPECT_TRUE(station.Failed());
    fs::rename(folder.string() + ".gone", folder);
    fs::remove_all(folder.string() + ".old");
}

TEST(Collect, APortAnotherProgramHoldsIsBusyNotGone) {
    Station s({{0, Options({}, Records("E", 1))}});
    fs::create_directory(s.dir.path() / "dev");
    s.dir.Write("dev/ttyS9", "");
    s.port.device = s.dir("dev/ttyS9");  // a device that is there but will not open
    s.lines.refuseOpen = true;
    s.clock.hook = [&](std::int64_t now) { s.lines.refuseOpen = now < 60000; };
    s.Run(1);
    EXPECT_EQ(s.events.Count(CollectEventKind::PortBusy), 1);
    EXPECT_EQ(s.events.Count(CollectEventKind::PortFree), 1);
    EXPECT_EQ(s.events.Count(CollectEventKind::PortGone), 0);
}

TEST(Collect, AFullDiskIsSaidWithTheSystemsWordsInTheEventAndTheRow) {
    Station s({{0, Options({}, Records("F", 3))}});
    FaultPlan plan;
    plan.at = 5;  // the open, the row, the first record's write and sync; then the second's write
    plan.error = ENOSPC;
    SetFaultPlan(&plan);
    const std::vector<UploadRow> rows = s.Run(1);
    SetFaultPlan(nullptr);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].records, 1);
    EXPECT_NE(rows[0].message.find(std::strerror(ENOSPC)), std::string::npos) << rows[0].message;
    EXPECT_NE(s.events.seen.back().message.find(std::strerror(ENOSPC)), std::string::npos);
}

TEST(Ledger, AnOlderTableIsMigratedAndAFifoIsSaidForWhatItIs) {
    TempDir dir;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir("ledger.sqlite").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE uploads (id INTEGER PRIMARY KEY, terminal TEXT NOT NULL,"
                           " device TEXT NOT NULL, by_id TEXT NOT NULL, started TEXT NOT NULL,"
                           " ended TEXT NOT NULL, records INTEGER NOT NULL, file TEXT NOT NULL,"
                           " sha256 TEXT NOT NULL, outcome TEXT NOT NULL, message TEXT NOT NULL,"
                           " code TEXT NOT NULL DEFAULT '', args TEXT NOT NULL DEFAULT '');"
                           "INSERT INTO uploads VALUES (1, 'ttyS0', '/dev/ttyS0', '',"
                           " '2024-05-01T08:00:00+08:00', '2024-05-01T08:00:09+08:00', 4, 'ttyS0/a.TXT',"
                           " 'ab', 'complete', '', 'x', '{}')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    std::string reason;
    std::optional<Ledger> ledger = Ledger::Open(dir.path().string(), &reason);
    ASSERT_TRUE(ledger) << reason;
    const std::vector<UploadRow> rows = *ledger->List("", "", &reason);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].key.size(), 36u);
    EXPECT_EQ(rows[0].startedUtc, "2024-05-01T00:00:00Z");
    EXPECT_EQ(rows[0].endedUtc, "2024-05-01T00:00:09Z");
    EXPECT_EQ(rows[0].acknowledged, 4);
    EXPECT_EQ(rows[0].code, "x");
    EXPECT_EQ(ledger->List("2024-05-01T00:00:01Z", "", &reason)->size(), 0u);
    // The old rows were stored by the station that keeps the ledger.
    ASSERT_EQ(ledger->stationId().size(), 36u);
    EXPECT_EQ(rows[0].stationId, ledger->stationId());
    EXPECT_EQ(rows[0].host, ledger->host());
    EXPECT_EQ(rows[0].name, "");

    TempDir fifo;
    ASSERT_EQ(mkfifo(fifo("ledger.sqlite").c_str(), 0600), 0);
    EXPECT_FALSE(Ledger::Open(fifo.path().string(), &reason));
    EXPECT_NE(reason.find(kNotRegularFileReason), std::string::npos) << reason;
}

TEST(Ledger, TheStationIsNamedOnceAndStandsOnEveryRowItStores) {
    TempDir dir;
    std::string reason;
    std::string id;
    {
        std::optional<Ledger> ledger = Ledger::Open(dir.path().string(), &reason);
        ASSERT_TRUE(ledger) << reason;
        id = ledger->stationId();
        EXPECT_EQ(id.size(), 36u);
        EXPECT_EQ(ledger->host(), platform::HostName());
        UploadRow own;
        own.key = Ledger::NewKey(1);
        own.terminal = own.device = "ttyUSB0";
        own.name = "Cradle A, aisle 3";
        UploadRow other = own;
        other.key = Ledger::NewKey(2);
        other.host = "desk-7";
        other.stationId = "0190a000-0000-7000-8000-000000000007";
        ASSERT_TRUE(ledger->Put(own, &reason)) << reason;
        ASSERT_TRUE(ledger->Put(other, &reason)) << reason;
    }
    std::optional<Ledger> again = Ledger::OpenExisting(dir.path().string(), &reason);
    ASSERT_TRUE(again) << reason;
    EXPECT_EQ(again->stationId(), id);
    const std::vector<UploadRow> rows = *again->List("", "", &reason);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, "Cradle A, aisle 3");
    EXPECT_EQ(rows[0].stationId, id);
    EXPECT_EQ(rows[0].host, platform::HostName());
    EXPECT_EQ(rows[1].stationId, "0190a000-0000-7000-8000-000000000007");
    EXPECT_EQ(rows[1].host, "desk-7");
}

TEST(LocalTime, InstantsCompareAcrossOffsetsAndANonDateIsRefused) {
    setenv("TZ", "UTC0", 1);
    tzset();
    const std::pair<const char*, const char*> cases[] = {
        {"2026-12-08", "2026-12-08T00:00:00Z"},
        {"2026-12-08T10:00:00Z", "2026-12-08T10:00:00Z"},
        {"2026-12-08T10:00+14:00", "2026-12-07T20:00:00Z"},
        {"2026-12-08 01:30:00-02:30", "2026-12-08T04:00:00Z"},
        {"2024-02-29", "2024-02-29T00:00:00Z"},
        {"2026-13-45", nullptr},
        {"2026-12-08 garbage", nullptr},
        {"2023-02-29", nullptr},
        {"2026-12-08T25:00", nullptr},
        {"", nullptr},
    };
    for (const auto& [text, utc] : cases) {
        const std::optional<std::time_t> at = ParseInstant(text);
        ASSERT_EQ(at.has_value(), utc != nullptr) << text;
        if (utc) {
            EXPECT_EQ(UtcIsoTime(*at), utc) << text;
        }
    }
}

}  // namespace
}  // namespace k52::test
